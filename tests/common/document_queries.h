#pragma once
// What a test reads off a document through the object model: comment texts and the tables
// tagged with a comment.

#include <string>
#include <vector>

#include "platform/word/word.h"

namespace tarvex::testing {

// The texts of the comments in `comments`, in document order.
inline std::vector<std::string> commentTexts(word::Comments comments) {
    std::vector<std::string> texts;
    for (long i = 1; i <= comments.Count(); ++i) texts.push_back(comments.Item(i).Text());
    return texts;
}

// The texts of the comments in range `r`, joined.
inline std::string joinedComments(const word::Range& r) {
    std::string joined;
    for (const auto& text : commentTexts(r.Comments())) joined += text;
    return joined;
}

// The tables carrying a comment that reads exactly `tag`, in document order.
inline std::vector<word::Table> taggedTables(word::Document& doc, const std::string& tag) {
    std::vector<word::Table> found;
    for (long i = 1; i <= doc.Tables().Count(); ++i)
        for (const auto& text : commentTexts(doc.Tables().Item(i).Range().Comments()))
            if (text == tag) {
                found.push_back(doc.Tables().Item(i));
                break;
            }
    return found;
}

}  // namespace tarvex::testing
