// Review comments: the comments part, the body marks, the extended parts, and the Comments and
// Comment handles.
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <optional>

#include "platform/word/doc_state.h"
#include "platform/word/edit.h"
#include "platform/word/flatten.h"
#include "platform/word/walk.h"

namespace tarvex::word {

using namespace detail;

namespace detail {

namespace {

const char* localName(const char* name) {
    const char* colon = std::strchr(name, ':');
    return colon ? colon + 1 : name;
}

std::string localAttr(pugi::xml_node n, const char* local) {
    for (pugi::xml_attribute a : n.attributes())
        if (!std::strcmp(localName(a.name()), local)) return a.value();
    return {};
}

// A cheap first test for the three comment marks (all start with "w:comment").
bool isCommentMark(const char* name) {
    return name[0] == 'w' && name[1] == ':' && name[2] == 'c' && name[3] == 'o' &&
           !std::strncmp(name, "w:comment", 9);
}

template <class Match>
void collect(pugi::xml_node root, Match&& match, std::vector<pugi::xml_node>& out) {
    forEachElement(root, [&](pugi::xml_node c) {
        if (match(c)) out.push_back(c);
        return true;
    });
}

// The comment marks of the main part that `match` accepts; blocks of the body are read from
// their summaries where those are complete.
template <class Match>
void collectMarks(DocState& doc, Match&& match, std::vector<pugi::xml_node>& out) {
    forEachOutsideRegularBlocks(
        doc, doc.mainPart->root(),
        [&](pugi::xml_node c) {
            if (match(c)) out.push_back(c);
            return true;
        },
        [&](const Block& b) {
            for (pugi::xml_node m : b.info().marks)
                if (match(m)) out.push_back(m);
        });
}

std::string utcNow() {
    std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm tm{};
    gmtime_r(&now, &tm);
    char buffer[32];
    std::strftime(buffer, sizeof buffer, "%Y-%m-%dT%H:%M:%SZ", &tm);
    return buffer;
}

std::string lastParaId(pugi::xml_node entry) {
    pugi::xml_node last;
    for (pugi::xml_node p : entry.children("w:p")) last = p;
    return last ? localAttr(last, "paraId") : std::string();
}

}  // namespace

pugi::xml_node DocState::commentEntry(const std::string& id) const {
    if (!comments) return {};
    if (!commentIndexValid_) {
        commentIndex_.clear();
        for (pugi::xml_node c : comments->root().children("w:comment"))
            commentIndex_.try_emplace(c.attribute("w:id").value(), c);
        commentIndexValid_ = true;
    }
    auto found = commentIndex_.find(id);
    return found == commentIndex_.end() ? pugi::xml_node() : found->second;
}

const std::vector<const XmlNode*>& DocState::commentRefs() {
    Story& story = body();
    std::pair built{story.generation(), entriesRemoved_};
    if (built != commentRefsBuilt_) {
        commentRefs_.clear();
        commentRefEntries_.clear();
        for (const Block& b : story.blocks()) {
            if (!b.details || b.details->refs.empty()) continue;
            const BlockDetails& d = *b.details;
            // A new comment takes an id above every mark's, so adding one never gives an
            // existing reference its entry: only removals make a block's list stale.
            if (d.liveRefsAt != entriesRemoved_) {
                d.liveRefs.clear();
                d.liveEntries.clear();
                for (pugi::xml_node_struct* node : d.refs) {
                    pugi::xml_node ref(node);
                    if (pugi::xml_node entry = commentEntry(ref.attribute("w:id").value())) {
                        d.liveRefs.push_back(toRef(ref));
                        d.liveEntries.push_back(toRef(entry));
                    }
                }
                d.liveRefsAt = entriesRemoved_;
            }
            commentRefs_.insert(commentRefs_.end(), d.liveRefs.begin(), d.liveRefs.end());
            commentRefEntries_.insert(commentRefEntries_.end(), d.liveEntries.begin(),
                                      d.liveEntries.end());
        }
        commentRefsBuilt_ = built;
    }
    return commentRefs_;
}

XmlPart& DocState::ensureCommentsPart() {
    if (comments) return *comments;
    std::string name = mainFolder() + "comments.xml";
    for (int i = 1; package.find(name); ++i)
        name = mainFolder() + "comments" + std::to_string(i) + ".xml";
    comments = newPart(
        name,
        std::string("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?><w:comments "
                    "xmlns:w=\"") +
            kWordNs + "\"/>",
        "application/vnd.openxmlformats-officedocument.wordprocessingml.comments+xml");
    addRelatedPart(*comments,
                   "http://schemas.openxmlformats.org/officeDocument/2006/relationships/comments",
                   name.substr(mainFolder().size()));
    commentsChanged();
    return *comments;
}

long DocState::nextCommentId() {
    if (nextCommentId_ >= 0) return nextCommentId_;
    long highest = -1;
    auto consider = [&](const char* value) {
        char* end = nullptr;
        long v = std::strtol(value, &end, 10);
        if (end != value && v > highest) highest = v;
    };
    if (comments)
        for (pugi::xml_node c : comments->root().children("w:comment"))
            consider(c.attribute("w:id").value());
    std::vector<pugi::xml_node> marks;
    collectMarks(
        *this,
        [](pugi::xml_node n) {
            const char* name = n.name();
            return isCommentMark(name) && (!std::strcmp(name, "w:commentReference") ||
                                           !std::strcmp(name, "w:commentRangeStart"));
        },
        marks);
    for (pugi::xml_node m : marks) consider(m.attribute("w:id").value());
    nextCommentId_ = highest + 1;
    return nextCommentId_;
}

void DocState::removeComment(const std::string& id) {
    Story& story = body();
    commentIdsChanged();
    std::vector<pugi::xml_node> marks;
    collectMarks(
        *this,
        [&](pugi::xml_node n) {
            const char* name = n.name();
            return isCommentMark(name) &&
                   (!std::strcmp(name, "w:commentRangeStart") ||
                    !std::strcmp(name, "w:commentRangeEnd") ||
                    !std::strcmp(name, "w:commentReference")) &&
                   id == n.attribute("w:id").value();
        },
        marks);
    // The first reference mark in the body is the item that goes.
    long refIndex = -1;
    for (pugi::xml_node m : marks)
        if (!std::strcmp(m.name(), "w:commentReference")) {
            long at = story.positionOf(m);
            if (at >= 0 && (refIndex < 0 || at < refIndex)) refIndex = at;
        }
    for (pugi::xml_node m : marks) {
        pugi::xml_node run = m.parent();
        story.touched(m);  // the block's summary lists the mark
        mainPart->discard(m);
        if (!std::strcmp(run.name(), "w:r")) {
            bool empty = true;
            for (pugi::xml_node c : run.children())
                if (std::strcmp(c.name(), "w:rPr")) empty = false;
            if (empty) mainPart->discard(run);
        }
    }
    if (!marks.empty()) mainPart->dirty = true;

    pugi::xml_node entry = commentEntry(id);
    if (entry) {
        std::string paraId = lastParaId(entry);
        comments->discard(entry);
        ++entriesRemoved_;
        comments->dirty = true;
        commentsChanged();
        if (!paraId.empty()) {
            std::vector<std::string> durableIds, replies;
            for (auto& part : commentsExtra) {
                std::vector<pugi::xml_node> doomed;
                collect(
                    part->root(),
                    [&](pugi::xml_node n) {
                        std::string local = localName(n.name());
                        if (local == "commentEx" && localAttr(n, "paraIdParent") == paraId)
                            replies.push_back(localAttr(n, "paraId"));
                        if ((local == "commentEx" || local == "commentId") &&
                            localAttr(n, "paraId") == paraId) {
                            if (local == "commentId")
                                durableIds.push_back(localAttr(n, "durableId"));
                            return true;
                        }
                        return false;
                    },
                    doomed);
                for (pugi::xml_node d : doomed) part->discard(d);
                if (!doomed.empty()) part->dirty = true;
            }
            for (auto& part : commentsExtra) {
                std::vector<pugi::xml_node> doomed;
                collect(
                    part->root(),
                    [&](pugi::xml_node n) {
                        return !std::strcmp(localName(n.name()), "commentExtensible") &&
                               std::ranges::find(durableIds, localAttr(n, "durableId")) !=
                                   durableIds.end();
                    },
                    doomed);
                for (pugi::xml_node d : doomed) part->discard(d);
                if (!doomed.empty()) part->dirty = true;
            }
            // Replies belong to the thread and go with it.
            for (const auto& reply : replies) {
                for (pugi::xml_node c : comments->root().children("w:comment")) {
                    if (lastParaId(c) == reply) {
                        removeComment(c.attribute("w:id").value());
                        break;
                    }
                }
            }
        }
    }
    if (refIndex >= 0) story.shift(refIndex, 1, 0);
}

}  // namespace detail

// --- Comments --------------------------------------------------------------------------------

Comments::Comments(std::shared_ptr<DocState> doc, std::vector<const XmlNode*> refs,
                   std::vector<const XmlNode*> entries, std::uint64_t stamp)
    : doc_(std::move(doc)), refs_(std::move(refs)), entries_(std::move(entries)), stamp_(stamp) {}

long Comments::Count() const { return static_cast<long>(refs_.size()); }

Comment Comments::Item(long index) const {
    if (index < 1 || index > Count()) throw Error(tarvex::errc::subscriptOutOfRange);
    const auto i = static_cast<std::size_t>(index - 1);
    return Comment(doc_, refs_[i], entries_[i], stamp_);
}

Comment Comments::Add(const word::Range& anchor, const std::string& text) {
    RangeState& st = *anchor.state();
    Story& body = doc_->body();
    if (st.story != &body)
        raise(tarvex::errc::invalidCall, "Ein Kommentar kann nur im Textkörper verankert werden.");
    XmlPart& part = doc_->ensureCommentsPart();
    std::string id = std::to_string(doc_->nextCommentId());

    auto mark = [&](InsertPoint pt, const char* name) {
        pugi::xml_node m = pt.before ? pt.parent.insert_child_before(name, pt.before)
                                     : pt.parent.append_child(name);
        m.append_attribute("w:id") = id.c_str();
        body.touched(m);  // the block's summary lists the mark
        return m;
    };
    pugi::xml_node reference;
    auto referenceRunAfter = [&](pugi::xml_node node) {
        pugi::xml_node run = node.parent().insert_child_after("w:r", node);
        reference = run.append_child("w:commentReference");
        reference.append_attribute("w:id") = id.c_str();
    };
    long s = st.start, e = st.end;
    if (s < e) {
        mark(resolveBefore(body, s), "w:commentRangeStart");
        const auto& atoms = body.atoms();
        long n = atoms.size();
        const Atom last = atoms[e - 1];  // copy: atoms are rebuilt below
        InsertPoint end;
        bool endsInText = last.kind == AtomKind::Char || last.kind == AtomKind::Ref;
        if (endsInText && e < n && atoms[e].para == last.para &&
            atoms[e].kind != AtomKind::CellMark) {
            end = resolveBefore(body, e);
        } else {
            pugi::xml_node para = paragraphOf(last);
            end = {para, para, pugi::xml_node()};
        }
        referenceRunAfter(mark(end, "w:commentRangeEnd"));
    } else {
        InsertPoint pt = resolveBefore(body, s);
        pugi::xml_node run = pt.before ? pt.parent.insert_child_before("w:r", pt.before)
                                       : pt.parent.append_child("w:r");
        reference = run.append_child("w:commentReference");
        reference.append_attribute("w:id") = id.c_str();
    }
    body.touched(reference);
    doc_->commentIdUsed(std::stol(id));
    long found = body.positionOf(reference);
    long refIndex = std::max(found, 0L);
    const XmlNode* refNode = found >= 0 ? toRef(reference) : nullptr;
    body.shift(refIndex, 0, 1, &st);

    pugi::xml_node entry = part.root().append_child("w:comment");
    entry.append_attribute("w:id") = id.c_str();
    entry.append_attribute("w:author") = "TARVEX";
    entry.append_attribute("w:date") = utcNow().c_str();
    entry.append_attribute("w:initials") = "TX";
    doc_->commentAppended(id, entry);
    entry.append_child("w:p").append_child("w:r").append_child("w:annotationRef");
    part.dirty = true;
    Story& text_story = doc_->storyOf(entry, part);
    text_story.touched(entry);
    insertText(text_story, text_story.size(), text, pugi::xml_node(), nullptr);
    return Comment(doc_, refNode);
}

// --- Comment ---------------------------------------------------------------------------------

Comment::Comment(std::shared_ptr<DocState> doc, const XmlNode* reference)
    : doc_(std::move(doc)), reference_(reference) {}

Comment::Comment(std::shared_ptr<DocState> doc, const XmlNode* reference, const XmlNode* entry,
                 std::uint64_t stamp)
    : doc_(std::move(doc)), reference_(reference), entry_(entry), stamp_(stamp) {}

namespace {

// The entry of the comment whose reference mark is `reference`.
pugi::xml_node entryOf(DocState& doc, const XmlNode* reference) {
    doc.requireAlive(toNode(reference), *doc.mainPart);
    pugi::xml_node found = doc.commentEntry(toNode(reference).attribute("w:id").value());
    if (!found) raise(errc::objectDeleted, "Zum Kommentarzeichen gibt es keinen Kommentar.");
    return found;
}

// The story of a comment's text and where its range ends: before the final paragraph mark.
std::pair<Story*, long> commentStory(DocState& doc, pugi::xml_node entry) {
    Story& story = doc.storyOf(entry, *doc.comments);
    long n = story.size();
    return {&story, n > 0 && story.at(n - 1).kind == AtomKind::ParaMark ? n - 1 : n};
}

}  // namespace

word::Range Comment::Range() const {
    auto [story, end] = commentStory(*doc_, entryOf(*doc_, reference_));
    return word::Range(story->makeRange(0, end));
}

std::string Comment::Text() const {
    // Nothing edited since the comments were listed: the mark is still in the body and its
    // entry is the one found then. Otherwise both are checked again.
    if (entry_ && stamp_ == doc_->commentsStamp()) return doc_->commentText(toNode(entry_));
    return doc_->commentText(entryOf(*doc_, reference_));
}

namespace {

// The text of an entry made of paragraphs of plain text runs (as comments mostly are), read
// straight from its elements: paragraphs joined by "\r", the last one's mark left out, as the
// entry's story would give it. Nullopt for anything else.
std::optional<std::string> plainCommentText(pugi::xml_node entry) {
    std::optional<PlainParagraphs> plain = plainParagraphs(entry, nullptr);
    if (!plain || plain->count == 0) return std::nullopt;
    plain->text.pop_back();  // the last paragraph mark is not part of the comment's text
    return std::move(plain->text);
}

}  // namespace

// Read without a live range: each live range is moved by every later edit.
const std::string& DocState::commentText(pugi::xml_node entry) {
    auto [found, added] = commentTexts_.try_emplace(toRef(entry));
    if (added) {
        if (auto plain = plainCommentText(entry)) {
            found->second = std::move(*plain);
        } else {
            auto [story, end] = commentStory(*this, entry);
            found->second = story->text(0, end);
        }
    }
    return found->second;
}

word::Range Comment::Reference() const {
    pugi::xml_node ref = toNode(reference_);
    doc_->requireAlive(ref, *doc_->mainPart);
    Story& body = doc_->body();
    long i = body.positionOf(ref);
    if (i >= 0) return word::Range(body.makeRange(i, i + 1));
    raise(errc::objectDeleted, "Das Kommentarzeichen steht nicht mehr im Text.");
}

std::string Comment::Author() const {
    doc_->requireAlive(toNode(reference_), *doc_->mainPart);
    return doc_->commentEntry(toNode(reference_).attribute("w:id").value())
        .attribute("w:author")
        .value();
}

void Comment::Delete() {
    doc_->requireAlive(toNode(reference_), *doc_->mainPart);
    doc_->removeComment(toNode(reference_).attribute("w:id").value());
}

}  // namespace tarvex::word
