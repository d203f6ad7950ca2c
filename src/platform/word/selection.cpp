// The application's selection and the Application object.
#include "platform/word/doc_state.h"
#include "platform/word/edit.h"

namespace tarvex::word {

using namespace detail;

namespace {

std::shared_ptr<RangeState> primary(DocState& doc) {
    auto& sel = doc.selection;
    if (sel.shape) return Shape(doc.shared_from_this(), toRef(sel.shape)).TextRange().state();
    if (sel.ranges.empty() || !sel.ranges.front()->story->alive())
        sel.select({doc.body().makeRange(0, 0)});
    return sel.ranges.front();
}

}  // namespace

Selection::Selection(std::shared_ptr<DocState> doc) : doc_(std::move(doc)) {}

word::Range Selection::Range() const { return word::Range(primary(*doc_)).Duplicate(); }

std::string Selection::Text() const { return word::Range(primary(*doc_)).Text(); }

void Selection::MoveRight(long count, bool extend) {
    if (doc_->selection.shape)
        raise(tarvex::errc::invalidCall, "Eine Form kann nicht erweitert werden.");
    word::Range r(primary(*doc_));
    doc_->selection.ranges.resize(1);
    if (!extend) r.Collapse(CollapseDirection::End);
    r.MoveEnd(count);
    if (!extend) r.Collapse(CollapseDirection::End);
}

void Selection::Collapse(CollapseDirection direction) {
    if (doc_->selection.shape) {
        word::Range text(primary(*doc_));
        text.Collapse(direction);
        doc_->selection.select({text.state()});
        return;
    }
    word::Range r(primary(*doc_));
    doc_->selection.ranges.resize(1);
    r.Collapse(direction);
}

void Selection::TypeText(const std::string& text) {
    if (doc_->selection.shape) {
        // Typing into a selected text box appends to its text.
        word::Range box(primary(*doc_));
        box.Collapse(CollapseDirection::End);
        box.InsertAfter(text);
        return;
    }
    auto state = primary(*doc_);
    doc_->selection.ranges.resize(1);
    Story& story = *state->story;
    pugi::xml_document holder;
    pugi::xml_node props;
    for (long i = state->start; i < state->end && i < story.size(); ++i) {
        const Atom& a = story.at(i);
        if (a.kind == AtomKind::Char) {
            if (pugi::xml_node rPr = a.node.parent().child("w:rPr"))
                props = holder.append_copy(rPr);
            break;
        }
    }
    if (state->start < state->end) {
        deleteItems(story, state->start, state->end);
        if (!props) props = holder.append_copy(runPropsAt(story, state->start));
    }
    insertText(story, state->start, text, props, state.get());
    state->start = state->end;
}

word::Tables Selection::Tables() const {
    if (doc_->selection.shape) return word::Tables(doc_, {});
    return word::Range(primary(*doc_)).Tables();
}

word::Border Selection::Borders(BorderIndex index) const {
    word::Tables tables = Tables();
    if (tables.Count() == 0)
        raise(tarvex::errc::invalidCall, "Die Markierung liegt in keiner Tabelle.");
    return tables.Item(1).Borders(index);
}

void Selection::SetParagraphAlignment(Alignment alignment) {
    if (doc_->selection.shape) {
        word::Range(primary(*doc_)).SetParagraphAlignment(alignment);
        return;
    }
    primary(*doc_);
    for (const auto& r : doc_->selection.ranges) word::Range(r).SetParagraphAlignment(alignment);
}

Alignment Selection::ParagraphAlignment() const { return Range().ParagraphAlignment(); }

word::Shape Selection::ShapeRange() const {
    if (!doc_->selection.shape) raise(tarvex::errc::invalidCall, "Es ist keine Form markiert.");
    return Shape(doc_, toRef(doc_->selection.shape));
}

Application::Application(std::shared_ptr<DocState> doc) : doc_(std::move(doc)) {}

word::Selection Application::Selection() const { return word::Selection(doc_); }

double Application::CentimetersToPoints(double centimeters) { return centimeters * 72.0 / 2.54; }

}  // namespace tarvex::word
