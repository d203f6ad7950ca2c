#include "demo_invoice.h"

#include <zip.h>

#include <memory>
#include <stdexcept>
#include <utility>
#include <vector>

namespace tarvex::cli {

namespace {

constexpr const char* kW = "http://schemas.openxmlformats.org/wordprocessingml/2006/main";
constexpr const char* kR = "http://schemas.openxmlformats.org/officeDocument/2006/relationships";

std::string escape(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string run(const std::string& text, bool bold = false) {
    return std::string("<w:r>") + (bold ? "<w:rPr><w:b/></w:rPr>" : "") +
           "<w:t xml:space=\"preserve\">" + escape(text) + "</w:t></w:r>";
}

std::string para(const std::string& content, const std::string& style = "",
                 const std::string& jc = "", int spaceBefore = 0) {
    std::string ppr;
    if (!style.empty() || !jc.empty() || spaceBefore > 0) {
        ppr = "<w:pPr>";
        if (!style.empty()) ppr += "<w:pStyle w:val=\"" + style + "\"/>";
        if (spaceBefore > 0)
            ppr += "<w:spacing w:before=\"" + std::to_string(spaceBefore) + "\"/>";
        if (!jc.empty()) ppr += "<w:jc w:val=\"" + jc + "\"/>";
        ppr += "</w:pPr>";
    }
    return "<w:p>" + ppr + content + "</w:p>";
}

// A comment made at a point: only its reference run stands in the text.
std::string marker(int id) {
    return "<w:r><w:rPr><w:rStyle w:val=\"Kommentarzeichen\"/></w:rPr><w:commentReference w:id=\"" +
           std::to_string(id) + "\"/></w:r>";
}

struct Comment {
    int id;
    std::string text;
};

const std::vector<Comment>& comments() {
    static const std::vector<Comment> list = {
        {0, "lumStart"}, {1, "lumGesamt"}, {2, "lumNetto"}, {3, "lumMwSt"}, {4, "lumBrutto"},
        {5, "lumAuslagen"}};
    return list;
}

std::string documentXml() {
    std::string body;
    body += para(run("Vermessungsbüro Muster · Hauptstraße 1 · 12345 Musterstadt"), "Absender");
    for (const char* line : {"Herrn", "Max Mustermann", "Lindenweg 7", "12345 Musterstadt"})
        body += para(run(line), "Anschrift");
    body += para(run("Musterstadt, den 01.03.2026"), "", "right");
    body += para(run("Rechnung Nr. 2026-0001", true), "Betreff");
    body += para(run("Auftrag 2026-042: Grenzfeststellung Flurstück 17/4, Gemarkung Musterdorf"));
    body += para(run("Sehr geehrter Herr Mustermann,"));
    body += para(run("für die ausgeführten Vermessungsarbeiten berechnen wir Ihnen:"));
    body += para(marker(0));
    body += para(run("Der Rechnungsbetrag von ") + marker(1) +
                 run("0,00 € ist innerhalb von 14 Tagen ohne Abzug zu zahlen."));
    body += para(run("Darin enthalten sind der Nettobetrag von ") + marker(2) +
                 run("0,00 € und die Umsatzsteuer von ") + marker(3) + run("0,00 € (19 %)."));
    body += para(run("Bruttobetrag der Leistungen: ") + marker(4) + run("0,00 € insgesamt."));
    body += para(run("Umsatzsteuerfreie Auslagen: ") + marker(5) +
                 run("0,00 € sind im Rechnungsbetrag enthalten."));
    body += para(run("Mit freundlichen Grüßen"), "", "", 240);
    body += para(run("Dipl.-Ing. Vermessungsbüro Muster"));
    const std::string sect =
        "<w:sectPr><w:headerReference w:type=\"default\" r:id=\"rId3\"/>"
        "<w:footerReference w:type=\"default\" r:id=\"rId4\"/>"
        "<w:pgSz w:w=\"11906\" w:h=\"16838\"/>"
        "<w:pgMar w:top=\"1134\" w:right=\"1134\" w:bottom=\"2381\" w:left=\"1417\" "
        "w:header=\"708\" w:footer=\"708\" w:gutter=\"0\"/></w:sectPr>";
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
           "<w:document xmlns:w=\"" + kW + "\" xmlns:r=\"" + kR + "\"><w:body>" + body + sect +
           "</w:body></w:document>";
}

std::string commentsXml() {
    std::string out = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
                      "<w:comments xmlns:w=\"" + kW + "\">";
    for (const auto& c : comments())
        out += "<w:comment w:id=\"" + std::to_string(c.id) +
               "\" w:author=\"Vermessungsbüro Muster\" w:date=\"2026-03-01T09:00:00Z\" "
               "w:initials=\"VM\"><w:p><w:r><w:annotationRef/></w:r>" +
               run(c.text) + "</w:p></w:comment>";
    return out + "</w:comments>";
}

std::string headerFooterXml(const char* root, const std::vector<std::string>& lines,
                            const char* jc) {
    std::string out = std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
                      "<w:" + root + " xmlns:w=\"" + kW + "\">";
    for (const auto& l : lines) out += para(run(l), "", jc);
    return out + "</w:" + root + ">";
}

std::string stylesXml() {
    auto style = [](const char* id, const char* name, const char* rpr, const char* ppr) {
        return std::string("<w:style w:type=\"paragraph\" w:customStyle=\"1\" w:styleId=\"") + id +
               "\"><w:name w:val=\"" + name + "\"/><w:basedOn w:val=\"Standard\"/><w:pPr>" + ppr +
               "</w:pPr><w:rPr>" + rpr + "</w:rPr></w:style>";
    };
    return std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n") +
           "<w:styles xmlns:w=\"" + kW + "\"><w:docDefaults><w:rPrDefault><w:rPr>"
           "<w:rFonts w:ascii=\"Liberation Sans\" w:hAnsi=\"Liberation Sans\" w:cs=\"Liberation Sans\"/>"
           "<w:sz w:val=\"20\"/><w:lang w:val=\"de-DE\"/></w:rPr></w:rPrDefault>"
           "<w:pPrDefault><w:pPr><w:spacing w:after=\"60\"/></w:pPr></w:pPrDefault></w:docDefaults>"
           "<w:style w:type=\"paragraph\" w:default=\"1\" w:styleId=\"Standard\"><w:name w:val=\"Normal\"/></w:style>"
           "<w:style w:type=\"character\" w:styleId=\"Kommentarzeichen\"><w:name w:val=\"annotation reference\"/>"
           "<w:rPr><w:sz w:val=\"16\"/></w:rPr></w:style>" +
           style("Absender", "Absender", "<w:sz w:val=\"14\"/><w:u w:val=\"single\"/>", "") +
           style("Anschrift", "Anschrift", "", "<w:spacing w:after=\"0\"/>") +
           style("Betreff", "Betreff", "<w:b/><w:sz w:val=\"24\"/>", "<w:spacing w:before=\"240\" w:after=\"120\"/>") +
           "</w:styles>";
}

struct Part {
    std::string name;
    std::string data;
};

std::vector<Part> parts() {
    const std::string decl = "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n";
    const std::string wml = "application/vnd.openxmlformats-officedocument.wordprocessingml.";
    const std::string rel = "http://schemas.openxmlformats.org/officeDocument/2006/relationships/";
    std::vector<Part> p;
    p.push_back({"[Content_Types].xml",
                 decl + "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\">"
                        "<Default Extension=\"rels\" ContentType=\"application/vnd.openxmlformats-package.relationships+xml\"/>"
                        "<Default Extension=\"xml\" ContentType=\"application/xml\"/>"
                        "<Override PartName=\"/word/document.xml\" ContentType=\"" + wml + "document.main+xml\"/>"
                        "<Override PartName=\"/word/styles.xml\" ContentType=\"" + wml + "styles+xml\"/>"
                        "<Override PartName=\"/word/comments.xml\" ContentType=\"" + wml + "comments+xml\"/>"
                        "<Override PartName=\"/word/header1.xml\" ContentType=\"" + wml + "header+xml\"/>"
                        "<Override PartName=\"/word/footer1.xml\" ContentType=\"" + wml + "footer+xml\"/>"
                        "<Override PartName=\"/docProps/core.xml\" ContentType=\"application/vnd.openxmlformats-package.core-properties+xml\"/>"
                        "</Types>"});
    p.push_back({"_rels/.rels",
                 decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"" + rel + "officeDocument\" Target=\"word/document.xml\"/>"
                        "<Relationship Id=\"rId2\" Type=\"http://schemas.openxmlformats.org/package/2006/relationships/metadata/core-properties\" Target=\"docProps/core.xml\"/>"
                        "</Relationships>"});
    p.push_back({"docProps/core.xml",
                 decl + "<cp:coreProperties xmlns:cp=\"http://schemas.openxmlformats.org/package/2006/metadata/core-properties\" "
                        "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" xmlns:dcterms=\"http://purl.org/dc/terms/\" "
                        "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\"><dc:title>Rechnung</dc:title>"
                        "<dc:creator>Vermessungsbüro Muster</dc:creator><dc:language>de-DE</dc:language>"
                        "<dcterms:created xsi:type=\"dcterms:W3CDTF\">2026-03-01T09:00:00Z</dcterms:created>"
                        "</cp:coreProperties>"});
    p.push_back({"word/_rels/document.xml.rels",
                 decl + "<Relationships xmlns=\"http://schemas.openxmlformats.org/package/2006/relationships\">"
                        "<Relationship Id=\"rId1\" Type=\"" + rel + "styles\" Target=\"styles.xml\"/>"
                        "<Relationship Id=\"rId2\" Type=\"" + rel + "comments\" Target=\"comments.xml\"/>"
                        "<Relationship Id=\"rId3\" Type=\"" + rel + "header\" Target=\"header1.xml\"/>"
                        "<Relationship Id=\"rId4\" Type=\"" + rel + "footer\" Target=\"footer1.xml\"/>"
                        "</Relationships>"});
    p.push_back({"word/document.xml", documentXml()});
    p.push_back({"word/styles.xml", stylesXml()});
    p.push_back({"word/comments.xml", commentsXml()});
    p.push_back({"word/header1.xml",
                 headerFooterXml("hdr",
                                 {"Vermessungsbüro Muster", "Öffentlich bestellter Vermessungsingenieur",
                                  "Hauptstraße 1 · 12345 Musterstadt · Telefon 01234 5678-0"},
                                 "right")});
    p.push_back({"word/footer1.xml",
                 headerFooterXml("ftr",
                                 {"Bankverbindung: Musterbank Musterstadt · IBAN DE02 1203 0000 0000 2020 51",
                                  "Steuernummer 123/456/78901"},
                                 "center")});
    return p;
}

}  // namespace

std::string demoInvoiceDocx() {
    zip_error_t error;
    zip_error_init(&error);
    zip_source_t* buffer = zip_source_buffer_create(nullptr, 0, 0, &error);
    if (!buffer) throw std::runtime_error("zip: " + std::string(zip_error_strerror(&error)));
    zip_t* archive = zip_open_from_source(buffer, ZIP_TRUNCATE, &error);
    if (!archive) {
        zip_source_free(buffer);
        throw std::runtime_error("zip: " + std::string(zip_error_strerror(&error)));
    }
    zip_source_keep(buffer);  // read the finished bytes after closing the archive
    const auto all = parts();
    for (const auto& part : all) {
        zip_source_t* src = zip_source_buffer(archive, part.data.data(), part.data.size(), 0);
        if (!src || zip_file_add(archive, part.name.c_str(), src, ZIP_FL_ENC_UTF_8) < 0) {
            zip_source_free(src);
            zip_discard(archive);
            zip_source_free(buffer);
            throw std::runtime_error("zip: Teil konnte nicht geschrieben werden");
        }
    }
    if (zip_close(archive) < 0) {
        zip_discard(archive);
        zip_source_free(buffer);
        throw std::runtime_error("zip: Archiv konnte nicht geschrieben werden");
    }
    std::string out;
    zip_stat_t st;
    if (zip_source_open(buffer) == 0) {
        if (zip_source_stat(buffer, &st) == 0 && (st.valid & ZIP_STAT_SIZE)) {
            out.resize(st.size);
            zip_source_read(buffer, out.data(), st.size);
        }
        zip_source_close(buffer);
    }
    zip_source_free(buffer);
    if (out.empty()) throw std::runtime_error("zip: leeres Archiv");
    return out;
}

}  // namespace tarvex::cli
