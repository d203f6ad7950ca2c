// Floating shapes of the body (DrawingML anchors) and the text box the plug-in adds.
#include <cmath>
#include <cstring>

#include "platform/word/doc_state.h"
#include "platform/word/edit.h"
#include "platform/word/walk.h"

namespace tarvex::word {

using namespace detail;

namespace {

constexpr double kEmuPerPoint = 12700.0;

bool is(pugi::xml_node n, const char* name) { return n && std::strcmp(n.name(), name) == 0; }

pugi::xml_node spPr(pugi::xml_node anchor) {
    return anchor.child("a:graphic").child("a:graphicData").child("wps:wsp").child("wps:spPr");
}

pugi::xml_node textContent(pugi::xml_node anchor) {
    return anchor.child("a:graphic")
        .child("a:graphicData")
        .child("wps:wsp")
        .child("wps:txbx")
        .child("w:txbxContent");
}

bool isFill(pugi::xml_node n) {
    return is(n, "a:noFill") || is(n, "a:solidFill") || is(n, "a:gradFill") ||
           is(n, "a:blipFill") || is(n, "a:pattFill") || is(n, "a:grpFill");
}

bool isWordByte(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_';
}

// The highest id="digits" (one to nine digits) inside the tag of each `docPr` in raw XML text.
long highestDocPrIdIn(const std::string& text) {
    long highest = 0;
    static const char kIs[] = " \t\n\r\f\v";
    for (std::size_t p = text.find("docPr"); p != std::string::npos; p = text.find("docPr", p)) {
        p += 5;
        if (p >= text.size() || !std::strchr(kIs, text[p]) || !text[p]) continue;
        const std::size_t tagEnd = std::min(text.find('>', p), text.size());
        for (std::size_t q = text.find("id=\"", p); q < tagEnd; q = text.find("id=\"", q + 1)) {
            if (q > 0 && isWordByte(text[q - 1])) continue;
            std::size_t d = q + 4, digits = 0;
            while (d < text.size() && text[d] >= '0' && text[d] <= '9') ++d, ++digits;
            if (digits < 1 || digits > 9 || d >= text.size() || text[d] != '"') continue;
            highest = std::max(highest, std::stol(text.substr(q + 4, digits)));
            p = d + 1;
            break;
        }
    }
    return highest;
}

long highestDocPrId(DocState& doc) {
    long highest = 0;
    // Removed drawings count as well: their ids are not handed out again.
    forEachOutsideRegularBlocks(
        doc, doc.mainPart->doc,
        [&](pugi::xml_node n) {
            if (named(n.name(), "wp:docPr"))
                highest = std::max<long>(highest, n.attribute("id").as_llong());
            return true;
        },
        [](const Block&) {});
    // Headers, footers and other parts count too: drawing ids must be unique package-wide.
    for (const auto& entry : doc.package.entries()) {
        if (entry.name.size() < 4 || entry.name.substr(entry.name.size() - 4) != ".xml") continue;
        if (entry.name == doc.mainPart->name || entry.size > Package::kMaxPartBytes) continue;
        highest = std::max(highest, highestDocPrIdIn(doc.package.read(entry)));
    }
    return highest;
}

void declare(pugi::xml_node root, const char* prefix, const char* uri) {
    std::string attr = std::string("xmlns:") + prefix;
    pugi::xml_attribute existing = root.attribute(attr.c_str());
    if (!existing)
        root.append_attribute(attr.c_str()) = uri;
    else if (std::strcmp(existing.value(), uri) != 0)
        raise(tarvex::errc::invalidCall,
              std::string("Das Präfix ") + prefix + " ist anders belegt.");
}

}  // namespace

Shape::Shape(std::shared_ptr<DocState> doc, const XmlNode* anchor)
    : doc_(std::move(doc)), anchor_(anchor) {}

std::string Shape::Name() const {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    return toNode(anchor_).child("wp:docPr").attribute("name").value();
}

void Shape::SetName(const std::string& name) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    pugi::xml_node docPr = toNode(anchor_).child("wp:docPr");
    if (!docPr.attribute("name")) docPr.append_attribute("name");
    docPr.attribute("name") = name.c_str();
    doc_->mainPart->dirty = true;
}

void Shape::Delete() {
    pugi::xml_node anchor = toNode(anchor_);
    doc_->requireAlive(anchor, *doc_->mainPart);
    pugi::xml_node drawing = anchor.parent();
    pugi::xml_node doomed = drawing;
    if (is(drawing.parent(), "mc:Choice")) doomed = drawing.parent().parent();
    pugi::xml_node run = doomed.parent();
    Story& body = doc_->body();
    pugi::xml_node top = body.topOf(run);
    doc_->mainPart->discard(doomed);
    if (is(run, "w:r")) {
        bool empty = true;
        for (pugi::xml_node c : run.children())
            if (!is(c, "w:rPr")) empty = false;
        if (empty) doc_->mainPart->discard(run);
    }
    if (doc_->selection.shape == anchor) doc_->selection.shape = pugi::xml_node();
    body.touched(top ? top : body.root());
}

void Shape::Select() {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    doc_->selection.shape = toNode(anchor_);
    doc_->selection.ranges.clear();
}

namespace {

double offset(pugi::xml_node anchor, const char* axis) {
    return anchor.child(axis).child("wp:posOffset").text().as_llong() / kEmuPerPoint;
}

void setOffset(pugi::xml_node anchor, const char* axis, double points) {
    pugi::xml_node pos = anchor.child(axis);
    if (pugi::xml_node align = pos.child("wp:align")) pos.remove_child(align);
    pugi::xml_node off = pos.child("wp:posOffset");
    if (!off) off = pos.append_child("wp:posOffset");
    off.text().set(static_cast<long long>(std::llround(points * kEmuPerPoint)));
}

}  // namespace

double Shape::Left() const { return offset(toNode(anchor_), "wp:positionH"); }
double Shape::Top() const { return offset(toNode(anchor_), "wp:positionV"); }
double Shape::Width() const {
    return toNode(anchor_).child("wp:extent").attribute("cx").as_llong() / kEmuPerPoint;
}
double Shape::Height() const {
    return toNode(anchor_).child("wp:extent").attribute("cy").as_llong() / kEmuPerPoint;
}

void Shape::SetLeft(double points) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    setOffset(toNode(anchor_), "wp:positionH", points);
    doc_->mainPart->dirty = true;
}

void Shape::SetTop(double points) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    setOffset(toNode(anchor_), "wp:positionV", points);
    doc_->mainPart->dirty = true;
}

void Shape::SetRelativeVerticalPosition(RelativeVerticalPosition relative) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    pugi::xml_attribute from = toNode(anchor_).child("wp:positionV").attribute("relativeFrom");
    from = relative == RelativeVerticalPosition::Page     ? "page"
           : relative == RelativeVerticalPosition::Margin ? "margin"
                                                          : "paragraph";
    doc_->mainPart->dirty = true;
}

RelativeVerticalPosition Shape::GetRelativeVerticalPosition() const {
    std::string from = toNode(anchor_).child("wp:positionV").attribute("relativeFrom").value();
    return from == "page"     ? RelativeVerticalPosition::Page
           : from == "margin" ? RelativeVerticalPosition::Margin
                              : RelativeVerticalPosition::Paragraph;
}

bool Shape::FillVisible() const {
    for (pugi::xml_node c : spPr(toNode(anchor_)).children())
        if (isFill(c)) return !is(c, "a:noFill");
    return false;
}

void Shape::SetFillVisible(bool visible) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    pugi::xml_node props = spPr(toNode(anchor_));
    if (!props) raise(tarvex::errc::invalidCall, "Die Form hat keine Füllung.");
    pugi::xml_node existing;
    for (pugi::xml_node c : props.children())
        if (isFill(c)) existing = c;
    if (!visible) {
        if (is(existing, "a:noFill")) return;
        pugi::xml_node fresh =
            existing ? props.insert_child_before("a:noFill", existing) : pugi::xml_node();
        if (!fresh) {
            pugi::xml_node geometry =
                props.child("a:prstGeom") ? props.child("a:prstGeom") : props.child("a:custGeom");
            if (!geometry) geometry = props.child("a:xfrm");
            geometry ? props.insert_child_after("a:noFill", geometry)
                     : props.prepend_child("a:noFill");
        }
        if (existing) props.remove_child(existing);
    } else if (!existing || is(existing, "a:noFill")) {
        pugi::xml_node fill =
            existing ? props.insert_child_before("a:solidFill", existing)
                     : props.insert_child_after("a:solidFill", props.child("a:prstGeom"));
        fill.append_child("a:srgbClr").append_attribute("val") = "FFFFFF";
        if (existing) props.remove_child(existing);
    }
    doc_->mainPart->dirty = true;
}

void Shape::SetFillTransparency(double transparency) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    if (transparency < 0 || transparency > 1)
        raise(tarvex::errc::invalidCall, "Ungültige Transparenz.");
    pugi::xml_node colour = spPr(toNode(anchor_)).child("a:solidFill").first_child();
    if (!colour) return;  // no visible fill: nothing to make transparent
    pugi::xml_node alpha = colour.child("a:alpha");
    if (!alpha) alpha = colour.append_child("a:alpha");
    alpha.remove_attribute("val");
    alpha.append_attribute("val") = std::lround((1.0 - transparency) * 100000.0);
    doc_->mainPart->dirty = true;
}

bool Shape::LineVisible() const {
    pugi::xml_node ln = spPr(toNode(anchor_)).child("a:ln");
    return ln && !ln.child("a:noFill");
}

void Shape::SetLineVisible(bool visible) {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    pugi::xml_node props = spPr(toNode(anchor_));
    if (!props) raise(tarvex::errc::invalidCall, "Die Form hat keine Linie.");
    pugi::xml_node ln = props.child("a:ln");
    if (!ln) ln = props.append_child("a:ln");
    for (pugi::xml_node c = ln.first_child(); c;) {
        pugi::xml_node next = c.next_sibling();
        if (isFill(c)) ln.remove_child(c);
        c = next;
    }
    if (visible)
        ln.prepend_child("a:solidFill").append_child("a:srgbClr").append_attribute("val") =
            "000000";
    else
        ln.prepend_child("a:noFill");
    doc_->mainPart->dirty = true;
}

word::Range Shape::TextRange() const {
    doc_->requireAlive(toNode(anchor_), *doc_->mainPart);
    pugi::xml_node content = textContent(toNode(anchor_));
    if (!content) raise(tarvex::errc::invalidCall, "Die Form enthält kein Textfeld.");
    Story& story = doc_->storyOf(content, *doc_->mainPart);
    long n = story.size();
    long end = n > 0 && story.at(n - 1).kind == AtomKind::ParaMark ? n - 1 : n;
    return word::Range(story.makeRange(0, end));
}

bool Shape::IsValid() const { return doc_->mainPart->contains(toNode(anchor_)); }

Shapes::Shapes(std::shared_ptr<DocState> doc, std::vector<const XmlNode*> anchors)
    : doc_(std::move(doc)), anchors_(std::move(anchors)) {}

long Shapes::Count() const { return static_cast<long>(anchors_.size()); }

Shape Shapes::Item(long index) const {
    if (index < 1 || index > Count()) throw Error(tarvex::errc::subscriptOutOfRange);
    return Shape(doc_, anchors_[static_cast<std::size_t>(index - 1)]);
}

Shape Shapes::AddTextbox(TextOrientation, double left, double top, double width, double height) {
    if (!(width > 0) || !(height > 0))
        raise(tarvex::errc::invalidCall, "Ungültige Größe des Textfelds.");
    pugi::xml_node root = doc_->mainPart->root();
    declare(root, "wp", "http://schemas.openxmlformats.org/drawingml/2006/wordprocessingDrawing");
    declare(root, "wps", "http://schemas.microsoft.com/office/word/2010/wordprocessingShape");
    declare(root, "a", "http://schemas.openxmlformats.org/drawingml/2006/main");
    long id = highestDocPrId(*doc_) + 1;
    long zOrder = 251659264;
    forEachOutsideRegularBlocks(
        *doc_, doc_->mainPart->doc,
        [&](pugi::xml_node n) {
            if (named(n.name(), "wp:anchor"))
                zOrder = std::max<long>(zOrder, n.attribute("relativeHeight").as_llong() + 1);
            return true;
        },
        [](const Block&) {});
    auto emu = [](double points) { return std::to_string(std::llround(points * kEmuPerPoint)); };
    std::string cx = emu(width), cy = emu(height);
    std::string xml =
        "<w:r><w:rPr><w:noProof/></w:rPr><w:drawing><wp:anchor distT=\"0\" distB=\"0\" "
        "distL=\"114300\" "
        "distR=\"114300\" simplePos=\"0\" relativeHeight=\"" +
        std::to_string(zOrder) +
        "\" behindDoc=\"0\" locked=\"0\" layoutInCell=\"1\" allowOverlap=\"1\"><wp:simplePos "
        "x=\"0\" y=\"0\"/>"
        "<wp:positionH relativeFrom=\"page\"><wp:posOffset>" +
        emu(left) +
        "</wp:posOffset></wp:positionH>"
        "<wp:positionV relativeFrom=\"page\"><wp:posOffset>" +
        emu(top) +
        "</wp:posOffset></wp:positionV>"
        "<wp:extent cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/><wp:effectExtent l=\"0\" t=\"0\" r=\"0\" b=\"0\"/>"
        "<wp:wrapNone/><wp:docPr id=\"" +
        std::to_string(id) + "\" name=\"Textfeld " + std::to_string(id) +
        "\"/><wp:cNvGraphicFramePr/><a:graphic><a:graphicData "
        "uri=\"http://schemas.microsoft.com/office/word/2010/wordprocessingShape\"><wps:wsp>"
        "<wps:cNvSpPr txBox=\"1\"/><wps:spPr><a:xfrm><a:off x=\"0\" y=\"0\"/><a:ext cx=\"" +
        cx + "\" cy=\"" + cy +
        "\"/></a:xfrm><a:prstGeom prst=\"rect\"><a:avLst/></a:prstGeom><a:solidFill><a:srgbClr "
        "val=\"FFFFFF\"/>"
        "</a:solidFill><a:ln w=\"6350\"><a:solidFill><a:srgbClr "
        "val=\"000000\"/></a:solidFill></a:ln></wps:spPr>"
        "<wps:txbx><w:txbxContent><w:p/></w:txbxContent></wps:txbx><wps:bodyPr rot=\"0\" "
        "vert=\"horz\" "
        "wrap=\"square\" lIns=\"91440\" tIns=\"45720\" rIns=\"91440\" bIns=\"45720\" anchor=\"t\" "
        "anchorCtr=\"0\">"
        "<a:noAutofit/></wps:bodyPr></wps:wsp></a:graphicData></a:graphic></wp:anchor></"
        "w:drawing></w:r>";
    pugi::xml_document fragment;
    fragment.load_string(xml.c_str(), pugi::parse_default);
    Story& body = doc_->body();
    // The last paragraph directly in the body (every one of them ends with a paragraph mark).
    pugi::xml_node para;
    for (pugi::xml_node c = body.root().last_child(); c && !para; c = c.previous_sibling())
        if (is(c, "w:p")) para = c;
    if (!para) {
        pugi::xml_node sect = body.root().child("w:sectPr");
        para =
            sect ? body.root().insert_child_before("w:p", sect) : body.root().append_child("w:p");
    }
    pugi::xml_node run = para.append_copy(fragment.first_child());
    body.touched(para);
    return Shape(doc_, toRef(run.child("w:drawing").child("wp:anchor")));
}

}  // namespace tarvex::word
