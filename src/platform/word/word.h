#pragma once
// The word-processor object model the plug-in drives, over a real .docx package edited in place.
//
// Objects are light handles onto one open document (copying a handle copies the reference, as
// object variables do). Every failure raises tarvex::Error so that callers' error traps log it:
//   5  invalid argument (a bad count, an operation that makes no sense at this place)
//   9  item beyond the count, cell outside its table
//   5825 the object was deleted (a handle onto a removed table, comment or shape)
//   5792 the file is no readable document (not a zip, no main part, bad XML, hostile input)
//   53/61/70/75 file system failures while opening or saving
//
// Text model: a story (the body, one comment's text, one text box) is a sequence of
// characters. Each paragraph ends with a paragraph mark "\r"; a cell ends with the end-of-cell
// mark, and every row with an end-of-row mark; both read as "\r\a" and count as one character.
// The last paragraph of a cell has no mark of its own (the end-of-cell mark ends it).
// A comment's reference mark is a zero-width position item: it counts for no character, so a
// range on it can be collapsed before or after it. Text is UTF-8; one character is one Unicode
// code point. Ranges are live: edits made through any range shift every other range of the story.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/error/error.h"
#include "platform/variant/variant.h"

namespace tarvex::word {

class FileSystem;  // platform/word/file_system.h

namespace errc {
inline constexpr int fileNotFound = 53;
inline constexpr int diskFull = 61;
inline constexpr int permissionDenied = 70;
inline constexpr int badDocument = 5792;
inline constexpr int objectDeleted = 5825;
}  // namespace errc

namespace detail {
class DocState;     // the open package and its parsed parts
struct RangeState;  // a live range registered with its story
struct XmlNode;     // opaque reference onto one element of a part
}  // namespace detail

enum class CollapseDirection { End = 0, Start = 1 };
enum class Alignment { Left = 0, Center = 1, Right = 2, Justify = 3 };
enum class LineStyle { None = 0, Single = 1 };
// Border indices as the callers pass them: -1 top … -6 vertical inside.
enum class BorderIndex {
    Top = -1,
    Left = -2,
    Bottom = -3,
    Right = -4,
    Horizontal = -5,
    Vertical = -6
};
enum class RowHeightRule { Auto = 0, AtLeast = 1, Exactly = 2 };
enum class RelativeVerticalPosition { Margin = 0, Page = 1, Paragraph = 2 };
enum class TextOrientation { Horizontal = 1 };

class Document;
class Table;
class Tables;
class Comments;
class Selection;

// A stretch of one story between two positions. Collapsed when start == end.
class Range {
  public:
    // Visible text of the range (paragraph marks "\r", cell/row ends "\r\a"), UTF-8.
    std::string Text() const;
    // Number of characters covered (a cell or row end counts one).
    long CharacterCount() const;
    long Start() const;
    long End() const;
    bool IsCollapsed() const { return Start() == End(); }
    // A new independent range over the same stretch.
    Range Duplicate() const;

    // Appends text at the end of the range; "\r\n", "\r" and "\n" each start a new paragraph.
    // The range grows over the inserted text. At a cell end the text goes into the cell.
    // Raises 5 when the text holds XML-illegal control characters.
    void InsertAfter(const std::string& text);
    // Inserts text at the start of the range; the range grows over it.
    void InsertBefore(const std::string& text);
    // Inserts an empty paragraph (a paragraph mark) at the start / end; the range grows over it.
    void InsertParagraphBefore();
    void InsertParagraphAfter();
    // Makes the range its start or its end.
    void Collapse(CollapseDirection direction);
    // Moves the start back by one word (count -1): a paragraph mark is a word of its own,
    // blanks belong to the word before them. Returns the words moved (0 at the story start).
    // Only count -1 is supported; other counts raise 5.
    long MoveStartWord(long count);
    // Moves the end by `count` characters (negative: back), clamped to the story.
    long MoveEnd(long count);
    // Deletes the covered text. Whole tables inside go with their comments; cell contents are
    // emptied but cells stay; a covered comment reference deletes its comment.
    void Delete();
    // Selects this range (the application's selection becomes it).
    void Select();

    // True when every character of the range is bold (false for an empty range).
    bool Bold() const;
    // Sets or clears bold on every character of the range (runs are split at its ends).
    void SetBold(bool bold);
    // True when every character is singly underlined.
    bool Underline() const;
    void SetUnderline(bool single);
    // Paragraph alignment of the range's paragraphs (of its first one when read).
    Alignment ParagraphAlignment() const;
    void SetParagraphAlignment(Alignment alignment);

    // Comments whose reference mark lies in the range, in document order.
    word::Comments Comments() const;
    // Top-level tables of the story that the range touches, in document order.
    word::Tables Tables() const;

    // Internal: a handle onto a live range state.
    explicit Range(std::shared_ptr<detail::RangeState> state);
    const std::shared_ptr<detail::RangeState>& state() const { return state_; }

  private:
    std::shared_ptr<detail::RangeState> state_;
};

// A cell of a table: the c-th cell of the r-th row (not a grid column).
class Cell {
  public:
    // The cell's content with its end-of-cell mark.
    word::Range Range() const;
    void Select();
    // Preferred width in points (rounded to twips); other cells keep theirs. 5 when <= 0.
    void SetWidth(double points);
    double Width() const;
    long RowIndex() const;
    long ColumnIndex() const;

    Cell(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tc);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tc_;
};

class Row {
  public:
    word::Range Range() const;
    long Index() const;
    long CellCount() const;
    // Sets the row height in points with the given rule (Exactly clips what does not fit).
    void SetHeight(double points, RowHeightRule rule);
    double Height() const;
    RowHeightRule HeightRule() const;

    Row(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tr);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tr_;
};

class Rows {
  public:
    long Count() const;
    // Row i (1-based); 9 beyond the count.
    Row Item(long index) const;
    // Appends a row at the end, shaped like the last row (widths, paragraph formats), empty.
    Row Add();

    Rows(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tbl);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tbl_;
};

// Column n = the n-th cell of every row that has one.
class Column {
  public:
    // Sets every cell of the column to the width; no other cell changes. 5 when <= 0.
    void SetWidth(double points);
    // Selects the column's cells (alignment set on the selection applies to all of them).
    void Select();
    long Index() const { return index_; }

    Column(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tbl, long index);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tbl_;
    long index_;
};

class Columns {
  public:
    // The largest number of cells of any row.
    long Count() const;
    // Column i (1-based); 9 beyond the count.
    Column Item(long index) const;

    Columns(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tbl);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tbl_;
};

// One border of a table; setting its line style sets it on the table as a whole.
class Border {
  public:
    LineStyle GetLineStyle() const;
    void SetLineStyle(LineStyle style);

    Border(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tbl, BorderIndex index);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tbl_;
    BorderIndex index_;
};

class Table {
  public:
    // Cell (row, column) from (1,1); 9 when there is no such cell.
    word::Cell Cell(long row, long column) const;
    // The whole table including its row ends.
    word::Range Range() const;
    word::Rows Rows() const;
    word::Columns Columns() const;
    word::Border Borders(BorderIndex index) const;
    void Select();
    // Removes the table with the comments anchored in it and any bookmark/range mark halves.
    // A range that covered the table is left collapsed where the table stood.
    void Delete();
    // True while the table is part of the document.
    bool IsValid() const;
    bool operator==(const Table& other) const { return tbl_ == other.tbl_; }

    Table(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* tbl);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* tbl_;
};

class Tables {
  public:
    long Count() const;
    // Table i (1-based) in document order; 9 beyond the count.
    Table Item(long index) const;
    // Inserts an empty table of rows x columns at a collapsed range: it takes the place of an
    // empty paragraph there (else it goes before/after/into the paragraph at the position);
    // a paragraph always follows it and no two tables touch. 5 when rows or columns < 1.
    Table Add(const word::Range& at, long rows, long columns);

    Tables(std::shared_ptr<detail::DocState> doc, std::vector<const detail::XmlNode*> tables);

  private:
    std::shared_ptr<detail::DocState> doc_;
    std::vector<const detail::XmlNode*> tables_;
};

class Comment {
  public:
    // The comment's text (paragraphs joined by "\r"), as an editable range of its own story.
    word::Range Range() const;
    // Shortcut for Range().Text().
    std::string Text() const;
    // The reference mark in the body: a range over the zero-width mark, so Collapse(Start)
    // lies before it and Collapse(End) after it.
    word::Range Reference() const;
    std::string Author() const;
    // Removes the comment, its range marks, its reference and its extended-part entries.
    void Delete();

    Comment(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* reference);
    // With the entry found when the comments were listed, at the document's comments stamp
    // `stamp`: reading the text skips looking them up again while nothing was edited.
    Comment(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* reference,
            const detail::XmlNode* entry, std::uint64_t stamp);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* reference_;  // the w:commentReference element in the body
    const detail::XmlNode* entry_ = nullptr;
    std::uint64_t stamp_ = 0;
};

class Comments {
  public:
    long Count() const;
    // Comment i (1-based) in the order of the reference marks; 9 beyond the count.
    Comment Item(long index) const;
    // Adds a comment with `text` anchored on `anchor` (on a cell range: inside the cell);
    // returns it. Creates the comments part on first use. 5 when the anchor is not in the body.
    Comment Add(const word::Range& anchor, const std::string& text);

    // Each reference with its entry, as found at the document's comments stamp `stamp`.
    Comments(std::shared_ptr<detail::DocState> doc, std::vector<const detail::XmlNode*> refs,
             std::vector<const detail::XmlNode*> entries, std::uint64_t stamp);

  private:
    std::shared_ptr<detail::DocState> doc_;
    std::vector<const detail::XmlNode*> refs_;
    std::vector<const detail::XmlNode*> entries_;  // one per reference
    std::uint64_t stamp_ = 0;
};

// A floating shape of the body (DrawingML anchor).
class Shape {
  public:
    std::string Name() const;
    void SetName(const std::string& name);
    void Delete();
    void Select();
    // Position and size in points; the position is relative to what RelativeVerticalPosition
    // and the horizontal anchor say.
    double Left() const;
    double Top() const;
    double Width() const;
    double Height() const;
    void SetLeft(double points);
    void SetTop(double points);
    void SetRelativeVerticalPosition(RelativeVerticalPosition relative);
    RelativeVerticalPosition GetRelativeVerticalPosition() const;
    bool FillVisible() const;
    void SetFillVisible(bool visible);
    // Fill transparency 0..1 (kept as the fill colour's alpha when there is a fill).
    void SetFillTransparency(double transparency);
    bool LineVisible() const;
    void SetLineVisible(bool visible);
    // The text box's text; 5 when the shape holds no text box.
    word::Range TextRange() const;
    bool IsValid() const;

    Shape(std::shared_ptr<detail::DocState> doc, const detail::XmlNode* anchor);

  private:
    std::shared_ptr<detail::DocState> doc_;
    const detail::XmlNode* anchor_;  // wp:anchor
};

class Shapes {
  public:
    long Count() const;
    // Shape i (1-based) in document order; 9 beyond the count.
    Shape Item(long index) const;
    // Adds an empty text box anchored to the page at the given position and size (points),
    // in the last paragraph of the body; no wrapping (in front of text).
    Shape AddTextbox(TextOrientation orientation, double left, double top, double width,
                     double height);

    Shapes(std::shared_ptr<detail::DocState> doc, std::vector<const detail::XmlNode*> anchors);

  private:
    std::shared_ptr<detail::DocState> doc_;
    std::vector<const detail::XmlNode*> anchors_;
};

// The application's one selection: a range of a story, a column of cells, or a shape.
class Selection {
  public:
    // The selected stretch (of a column: its first cell; of a shape: its text).
    word::Range Range() const;
    std::string Text() const;
    // Moves the end by `count` characters when `extend`, else collapses to the end and moves.
    void MoveRight(long count, bool extend);
    void Collapse(CollapseDirection direction);
    // Replaces the selection with `text` (formatted like the first replaced character) and
    // leaves the selection collapsed after it. Into a selected shape: the text box's text.
    void TypeText(const std::string& text);
    // Tables the selection touches (empty when it lies outside every table).
    word::Tables Tables() const;
    // Borders of the selected table(s); 5 when the selection is not in a table.
    word::Border Borders(BorderIndex index) const;
    // Sets the alignment of every selected paragraph (a shape: its text's paragraphs).
    void SetParagraphAlignment(Alignment alignment);
    Alignment ParagraphAlignment() const;
    // The selected shape; 5 when no shape is selected.
    word::Shape ShapeRange() const;

    explicit Selection(std::shared_ptr<detail::DocState> doc);

  private:
    std::shared_ptr<detail::DocState> doc_;
};

class Application {
  public:
    word::Selection Selection() const;
    // 1 cm = 72/2.54 points.
    static double CentimetersToPoints(double centimeters);

    explicit Application(std::shared_ptr<detail::DocState> doc);

  private:
    std::shared_ptr<detail::DocState> doc_;
};

// An open .docx. Opening checks the package's directory and reads the parts the engine works
// on; nothing is written until Save.
class Document : public tarvex::Object {
  public:
    // Opens a package held in memory. 5792 with a German description for anything that is not
    // a readable transitional WordprocessingML package (see file header).
    static std::shared_ptr<Document> FromBytes(std::span<const std::uint8_t> bytes);
    // Opens the file through `fs` (the real file system when null) and keeps it open: parts are
    // read from it as needed, and a save copies the entries it did not change from it (75 when
    // the file was changed by someone else meanwhile). 53/70/75 when it cannot be read, 5792 as
    // FromBytes.
    static std::shared_ptr<Document> Open(const std::string& path, FileSystem* fs = nullptr);

    std::string typeName() const override { return "Document"; }

    word::Application Application() const;
    word::Tables Tables() const;
    word::Comments Comments() const;
    word::Shapes Shapes() const;
    // The whole body story.
    word::Range Content() const;
    // Revision view flags: kept for the callers, they change nothing in the file.
    void SetShowRevisions(bool show);
    void SetPrintRevisions(bool print);
    // Hides comments in the document's saved view (w:revisionView), as a totals run asks.
    void SetShowComments(bool show);

    // The package as it would be saved: changed parts rewritten, every other entry as stored.
    std::vector<std::uint8_t> SaveToBytes() const;
    // Saves atomically over the path the document was opened from (5 when opened from bytes):
    // a temporary file in the same folder, flushed, renamed over the original; on failure the
    // original stays byte-identical and the temporary file is removed.
    void Save(FileSystem* fs = nullptr);
    // Saves atomically to `path`, which becomes the document's path.
    void SaveAs(const std::string& path, FileSystem* fs = nullptr);
    const std::string& Path() const;
    // False once anything was changed since opening or the last save.
    bool Saved() const;

    explicit Document(std::shared_ptr<detail::DocState> state);
    ~Document() override;
    const std::shared_ptr<detail::DocState>& state() const { return state_; }

  private:
    std::shared_ptr<detail::DocState> state_;
};

}  // namespace tarvex::word
