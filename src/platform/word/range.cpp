// Range: positions in a story and the edits made through them.
#include <algorithm>
#include <cstring>

#include "platform/word/doc_state.h"
#include "platform/word/edit.h"

namespace tarvex::word {

using namespace detail;

namespace {

Story& storyOf(const RangeState& st) {
    if (!st.story->alive())
        raise(errc::objectDeleted, "Der Bereich gehört zu einem gelöschten Text.");
    return *st.story;
}

bool isBlank(char32_t ch) { return ch == U' ' || ch == 0xA0; }

bool isWordChar(char32_t ch) {
    if (ch >= U'0' && ch <= U'9') return true;
    if ((ch >= U'a' && ch <= U'z') || (ch >= U'A' && ch <= U'Z') || ch == U'_') return true;
    return ch >= 0xC0 && ch != 0xD7 && ch != 0xF7 && ch != 0x20AC &&
           !(ch >= 0x2000 && ch <= 0x206F);
}

}  // namespace

Range::Range(std::shared_ptr<RangeState> state) : state_(std::move(state)) {}

std::string Range::Text() const { return storyOf(*state_).text(state_->start, state_->end); }

long Range::CharacterCount() const {
    Story& story = storyOf(*state_);
    const long n = story.size();
    long count = 0;
    for (long i = state_->start; i < state_->end && i < n; ++i)
        if (story.at(i).visible()) ++count;
    return count;
}

long Range::Start() const { return state_->start; }
long Range::End() const { return state_->end; }

Range Range::Duplicate() const {
    return Range(storyOf(*state_).makeRange(state_->start, state_->end));
}

void Range::InsertAfter(const std::string& text) {
    insertText(storyOf(*state_), state_->end, text, pugi::xml_node(), state_.get());
}

void Range::InsertBefore(const std::string& text) {
    insertText(storyOf(*state_), state_->start, text, pugi::xml_node(), state_.get());
}

void Range::InsertParagraphBefore() { InsertBefore("\r"); }
void Range::InsertParagraphAfter() { InsertAfter("\r"); }

void Range::Collapse(CollapseDirection direction) {
    if (direction == CollapseDirection::Start)
        state_->end = state_->start;
    else
        state_->start = state_->end;
}

long Range::MoveStartWord(long count) {
    if (count != -1) raise(tarvex::errc::invalidCall, "Nur ein Wort zurück wird unterstützt.");
    const auto& atoms = storyOf(*state_).atoms();
    // Index just after the nearest visible item before `pos` (zero-width marks are skipped).
    auto previous = [&](long pos) {
        while (pos > 0 && !atoms[pos - 1].visible()) --pos;
        return pos;
    };
    auto charAt = [&](long pos) { return atoms[pos - 1].kind == AtomKind::Char; };
    long k = previous(state_->start);
    if (k == 0) return 0;
    const Atom& a = atoms[k - 1];
    if (a.kind == AtomKind::ParaMark) {
        state_->start = k - 1;
        return -1;
    }
    if (a.kind != AtomKind::Char) return 0;  // start of a cell
    // Blanks belong to the word before them; a word stops at any non-character item.
    while (k > 0 && charAt(k) && isBlank(atoms[k - 1].ch)) --k;
    if (k > 0 && charAt(k) && isWordChar(atoms[k - 1].ch)) {
        while (k > 0 && charAt(k) && isWordChar(atoms[k - 1].ch)) --k;
    } else if (k > 0 && charAt(k)) {
        --k;  // a punctuation mark is a word of its own
    }
    state_->start = k;
    return -1;
}

long Range::MoveEnd(long count) {
    const auto& atoms = storyOf(*state_).atoms();
    long n = atoms.size();
    long pos = state_->end, moved = 0;
    if (count > 0) {
        while (moved < count && pos < n) {
            if (atoms[pos].visible()) ++moved;
            ++pos;
        }
    } else {
        while (moved < -count && pos > 0) {
            --pos;
            if (atoms[pos].visible()) ++moved;
        }
    }
    state_->end = pos;
    if (state_->start > pos) state_->start = pos;
    return count > 0 ? moved : -moved;
}

void Range::Delete() { deleteItems(storyOf(*state_), state_->start, state_->end); }

void Range::Select() { state_->story->doc().selection.select({Duplicate().state()}); }

bool Range::Bold() const {
    return allRunsHave(storyOf(*state_), state_->start, state_->end, "w:b");
}
void Range::SetBold(bool bold) {
    setRunProperty(storyOf(*state_), state_->start, state_->end, "w:b", bold);
}
bool Range::Underline() const {
    return allRunsHave(storyOf(*state_), state_->start, state_->end, "w:u");
}
void Range::SetUnderline(bool single) {
    setRunProperty(storyOf(*state_), state_->start, state_->end, "w:u", single);
}

Alignment Range::ParagraphAlignment() const {
    auto paragraphs = paragraphsIn(storyOf(*state_), state_->start, state_->end);
    return paragraphs.empty() ? Alignment::Left : alignmentOf(paragraphs.front());
}

void Range::SetParagraphAlignment(Alignment alignment) {
    Story& story = storyOf(*state_);
    for (pugi::xml_node p : paragraphsIn(story, state_->start, state_->end))
        setAlignment(p, alignment);
    story.changed();
}

word::Comments Range::Comments() const {
    Story& story = storyOf(*state_);
    std::vector<const XmlNode*> refs;
    std::vector<const XmlNode*> entries;  // each reference's entry, handed to its comment
    auto doc = story.doc().shared_from_this();
    if (&story == &doc->body()) {
        const long end = std::min(state_->end, story.size());
        auto take = [&](pugi::xml_node ref) {
            if (pugi::xml_node entry = doc->commentEntry(ref.attribute("w:id").value())) {
                refs.push_back(toRef(ref));
                entries.push_back(toRef(entry));
            }
        };
        if (auto cell = story.cellReferences(state_->start, end)) {
            for (pugi::xml_node ref : *cell) take(ref);
        } else if (state_->start < end) {
            // A block the range covers whole lists its references: its items need not be read
            // (asking a fee table for its comments would otherwise read every character).
            auto [from, to] = story.blocksOver(state_->start, end - 1);
            for (std::size_t k = from; k < to; ++k) {
                const Block& b = story.blocks()[k];
                if (b.start >= state_->start && b.start + b.count <= end) {
                    for (pugi::xml_node_struct* ref : b.info().refs) take(pugi::xml_node(ref));
                    continue;
                }
                const long last = std::min(end, b.start + b.count);
                for (long i = std::max(state_->start, b.start); i < last; ++i) {
                    const Atom& a = story.at(i);
                    if (a.kind == AtomKind::Ref) take(a.node);
                }
            }
        }
    }
    return word::Comments(doc, std::move(refs), std::move(entries), doc->commentsStamp());
}

word::Tables Range::Tables() const {
    Story& story = storyOf(*state_);
    std::vector<const XmlNode*> touched;
    // Only the blocks holding the range's items can hold the tables it touches.
    const long last = state_->start == state_->end ? state_->start : state_->end - 1;
    auto [from, to] = story.blocksOver(state_->start, last);
    for (std::size_t k = from; k < to; ++k) {
        pugi::xml_node block(story.blocks()[k].node);
        std::vector<pugi::xml_node> tables;
        if (!std::strcmp(block.name(), "w:tbl"))
            tables.push_back(block);
        else if (!std::strcmp(block.name(), "w:sdt"))
            tables = topLevelTables(block.child("w:sdtContent"));
        else if (!std::strcmp(block.name(), "w:customXml"))
            tables = topLevelTables(block);
        for (pugi::xml_node tbl : tables) {
            auto [ts, te] = story.span(tbl);
            bool hit = state_->start == state_->end ? (state_->start >= ts && state_->start < te)
                                                    : (state_->start < te && state_->end > ts);
            if (hit) touched.push_back(toRef(tbl));
        }
    }
    return word::Tables(story.doc().shared_from_this(), std::move(touched));
}

}  // namespace tarvex::word
