// Document: opening, the collections, saving.
#include <cstring>
#include <string_view>

#include "platform/word/doc_state.h"
#include "platform/word/edit.h"
#include "platform/word/file_system.h"
#include "platform/word/walk.h"

namespace tarvex::word {

using namespace detail;

namespace {

// A .docx larger than this is refused before it is read.
constexpr std::size_t kMaxFileBytes = 256u << 20;

FileSystem& chosen(FileSystem* fs) { return fs ? *fs : RealFileSystem(); }

}  // namespace

Document::Document(std::shared_ptr<DocState> state) : state_(std::move(state)) {}
Document::~Document() = default;

std::shared_ptr<Document> Document::FromBytes(std::span<const std::uint8_t> bytes) {
    return std::make_shared<Document>(loadDocState(std::make_unique<BytesFile>(bytes)));
}

std::shared_ptr<Document> Document::Open(const std::string& path, FileSystem* fs) {
    // The package stays open on the file: parts are read from it as they are needed, and a
    // save copies the parts that did not change from it.
    auto doc = std::make_shared<Document>(
        loadDocState(chosen(fs).OpenForReading(path, kMaxFileBytes)));
    doc->state_->path = path;
    return doc;
}

word::Application Document::Application() const { return word::Application(state_); }

word::Tables Document::Tables() const { return word::Tables(state_, state_->bodyTables()); }

word::Comments Document::Comments() const {
    const std::vector<const detail::XmlNode*>& refs = state_->commentRefs();
    return word::Comments(state_, refs, state_->commentRefEntries(), state_->commentsStamp());
}

word::Shapes Document::Shapes() const {
    std::vector<const XmlNode*> anchors;
    // In document order; fallbacks repeat content and text boxes are own stories.
    forEachOutsideRegularBlocks(
        *state_, state_->body().root(),
        [&](pugi::xml_node c) {
            const char* name = c.name();
            if (named(name, "mc:Fallback") || named(name, "w:txbxContent")) return false;
            if (named(name, "wp:anchor")) anchors.push_back(toRef(c));
            return true;
        },
        [](const Block&) {});
    return word::Shapes(state_, std::move(anchors));
}

word::Range Document::Content() const {
    Story& body = state_->body();
    return word::Range(body.makeRange(0, body.size()));
}

void Document::SetShowRevisions(bool) {}
void Document::SetPrintRevisions(bool) {}

void Document::SetShowComments(bool show) {
    XmlPart& settings = state_->ensureSettings();
    pugi::xml_node root = settings.root();
    pugi::xml_node view = root.child("w:revisionView");
    const char* wanted = show ? "1" : "0";
    // Already so: the part is left as it is stored (no rewrite, no new deflate on save).
    if (view && std::string_view(view.attribute("w:comments").value()) == wanted) return;
    if (!view) {
        // Its place in the settings: after documentType/mailMerge, before trackRevisions.
        pugi::xml_node after;
        for (const char* name : {"w:documentType", "w:mailMerge", "w:linkStyles",
                                 "w:attachedTemplate", "w:defaultTableStyle"})
            if (pugi::xml_node n = root.child(name)) after = n;
        pugi::xml_node before;
        for (const char* name : {"w:trackRevisions", "w:doNotTrackMoves", "w:doNotTrackFormatting",
                                 "w:documentProtection", "w:autoFormatOverride", "w:styleLockTheme",
                                 "w:styleLockQFSet", "w:defaultTabStop"})
            if (!before && (before = root.child(name))) break;
        if (after)
            view = root.insert_child_after("w:revisionView", after);
        else if (before)
            view = root.insert_child_before("w:revisionView", before);
        else
            view = root.prepend_child("w:revisionView");
    }
    view.remove_attribute("w:comments");
    view.append_attribute("w:comments") = wanted;
    settings.dirty = true;
}

std::vector<std::uint8_t> Document::SaveToBytes() const {
    BytesSink sink;
    saveDocState(*state_, sink);
    return std::move(sink.bytes);
}

void Document::Save(FileSystem* fs) {
    if (state_->path.empty())
        raise(tarvex::errc::invalidCall, "Das Dokument hat noch keinen Dateinamen.");
    SaveAs(state_->path, fs);
}

void Document::SaveAs(const std::string& path, FileSystem* fs) {
    WriteFileAtomically(chosen(fs), path,
                        [this](WritableFile& file) { saveDocState(*state_, file); });
    state_->path = path;
    // Later saves copy the parts they do not change from the file just written: it holds
    // every change so far. Should it not open, the parts stay marked as changed and the next
    // save writes them again.
    Package saved;
    try {
        saved.open(chosen(fs).OpenForReading(path, kMaxFileBytes));
    } catch (const Error&) {
        return;
    }
    state_->package.swap(saved);
    state_->markSaved();
}

const std::string& Document::Path() const { return state_->path; }

bool Document::Saved() const { return !state_->dirty(); }

}  // namespace tarvex::word
