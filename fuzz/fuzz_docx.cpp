// Feeds raw bytes to the .docx reader, then walks and edits what it accepted and reads the
// saved result back: foreign input may be refused with tarvex::Error, never crash.
#include <cstddef>
#include <cstdint>

#include "platform/word/word.h"

using namespace tarvex::word;

namespace {

void exercise(Document& doc) {
    Comments comments = doc.Comments();
    std::optional<Range> start;
    for (long i = 1; i <= comments.Count() && i <= 50; ++i) {
        Comment c = comments.Item(i);
        Range after = c.Reference();
        after.Collapse(CollapseDirection::End);
        after.MoveEnd(15);
        (void)after.Text();
        if (c.Text() == "lumStart") {
            Range r = c.Reference();
            r.Collapse(CollapseDirection::Start);
            r.MoveStartWord(-1);
            r.InsertParagraphBefore();
            r.Collapse(CollapseDirection::Start);
            start = r;
        }
    }
    Tables tables = doc.Tables();
    for (long t = 1; t <= tables.Count() && t <= 20; ++t) {
        Table table = tables.Item(t);
        for (long r = 1; r <= table.Rows().Count() && r <= 20; ++r)
            for (long c = 1; c <= table.Rows().Item(r).CellCount() && c <= 20; ++c)
                (void)table.Cell(r, c).Range().Comments().Count();
    }
    Shapes shapes = doc.Shapes();
    for (long s = 1; s <= shapes.Count() && s <= 20; ++s) (void)shapes.Item(s).Name();

    if (!start) {
        start = doc.Content();
        start->Collapse(CollapseDirection::End);
        start->InsertParagraphAfter();
        start->Collapse(CollapseDirection::End);
    }
    Table table = doc.Tables().Add(*start, 3, 5);
    table.Cell(1, 1).Range().InsertAfter("Zerlegung nach Nr. 30.1\r\n");
    table.Cell(1, 1).Range().SetBold(true);
    table.Columns().Item(2).SetWidth(Application::CentimetersToPoints(7.9));
    doc.Comments().Add(table.Cell(1, 5).Range(), "TARVEX_1");
    auto saved = doc.SaveToBytes();
    auto again = Document::FromBytes(saved);
    (void)again->Content().Text();
    table.Delete();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    try {
        auto doc = Document::FromBytes({data, size});
        exercise(*doc);
    } catch (const tarvex::Error&) {
        // refusing foreign input is the expected outcome
    }
    return 0;
}
