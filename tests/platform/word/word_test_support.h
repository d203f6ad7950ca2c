#pragma once
// Helpers for the document engine tests: fixture files, small hand-made packages, and reading
// back the entries of a saved package.

#include <zip.h>

#include <map>
#include <string>
#include <vector>

#include "common/document_queries.h"
#include "common/test_files.h"
#include "platform/word/word.h"

namespace tarvex::word::test {

using testing::templatePath;

std::vector<std::uint8_t> readBytes(const std::string& path);
std::shared_ptr<Document> openTemplate(const std::string& name);

// A zip with the given entries (name -> content), deflated.
std::vector<std::uint8_t> makeZip(const std::map<std::string, std::string>& entries);
// Closes `archive`, opened on the kept in-memory `source`, and returns the package's bytes.
std::vector<std::uint8_t> closeToBytes(zip_t* archive, zip_source_t* source);
// A minimal package whose body holds `bodyXml`, plus extra entries.
std::vector<std::uint8_t> minimalDocx(const std::string& bodyXml,
                                      const std::map<std::string, std::string>& extra = {});
// The extra entries of a package with a comments part holding the <w:comment> elements
// `comments`, and its relationship.
std::map<std::string, std::string> commentsPart(const std::string& comments);
// Entry name -> uncompressed content of a package.
std::map<std::string, std::string> zipEntries(const std::vector<std::uint8_t>& bytes);

// Places a new table the way the fee table writer does: before every "lumStart" marker a new
// paragraph, the last one wins; without a marker at the end of the body.
Range placeForNewTable(Document& doc);
// Texts of all comments in document order.
inline std::vector<std::string> commentTexts(Document& doc) {
    return testing::commentTexts(doc.Comments());
}

}  // namespace tarvex::word::test
