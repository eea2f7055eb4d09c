// An in-process implementation of the Office object model: a Word document
// with a selection and font runs, a workbook with typed cells and an active
// cell, a presentation with a selected text range. Tests register these as
// the running instances; the Word document server starts one by default,
// and its SaveAs writes a Rich Text file.
//
// Every member can be made to fail (Faults::Fail with the member's name),
// and Quit makes the whole application unreachable, as a closed Office
// application is to a connection that still holds it.
#pragma once

#include "automation.h"

#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace automation::inprocess {

inline constexpr char16_t kDefaultFace[] = u"Times New Roman";
inline constexpr float kDefaultSize = 12;

class Faults {
 public:
  void Fail(const std::string& member) { failing_.insert(member); }
  void Heal(const std::string& member) { failing_.erase(member); }
  void Quit() { quit_ = true; }
  bool HasQuit() const { return quit_; }
  // Raises EOleError when the member, or the whole application, fails.
  void Check(const std::string& member) const;

 private:
  std::set<std::string> failing_;
  bool quit_ = false;
};

struct CharFont {
  std::u16string name = kDefaultFace;
  float size = kDefaultSize;
  bool operator==(const CharFont&) const = default;
};

// Text with a font for every character.
class StyledText {
 public:
  const std::u16string& Text() const { return text_; }
  const CharFont& FontAt(size_t i) const { return fonts_.at(i); }
  // Replaces [start, end) by `text`, which takes the font of the character
  // before it (or of the first replaced one, or the default).
  void Replace(size_t start, size_t end, const std::u16string& text);
  void SetFaceName(size_t start, size_t end, const std::u16string& name);
  void SetSize(size_t start, size_t end, float size);
  // Runs of equal font: (start, length, font).
  struct Run {
    size_t start, length;
    CharFont font;
  };
  std::vector<Run> Runs() const;

 private:
  void Clamp(size_t& start, size_t& end) const;
  std::u16string text_;
  std::vector<CharFont> fonts_;
};

// A Word document. Ranges taken from it stay live: they follow edits made
// before or across them, as Word's ranges do.
class Document : public WordDocument, public std::enable_shared_from_this<Document> {
 public:
  using Span = TextSpan;
  explicit Document(std::shared_ptr<Faults> faults = std::make_shared<Faults>());

  std::shared_ptr<WordRange> Content() override;
  std::shared_ptr<WordRange> Range() override;
  void SaveAs(const std::u16string& fileName) override;
  void Close() override;
  bool SavesRichText() const override { return true; }

  StyledText& Body() { return body_; }
  Span& SelectionSpan() { return *selection_; }
  void Select(int start, int end);
  bool Closed() const { return closed_; }
  const std::u16string& SavedAs() const { return savedAs_; }
  Faults& GetFaults() { return *faults_; }

  // Internals shared with ranges and the selection.
  void Edit(int start, int end, const std::u16string& text);
  std::shared_ptr<Span> NewSpan(int start, int end);
  std::shared_ptr<WordRange> RangeOver(std::shared_ptr<Span> span);
  void Check(const std::string& member) const;
  int Length() const { return static_cast<int>(body_.Text().size()); }

 private:
  std::shared_ptr<Faults> faults_;
  StyledText body_;
  std::vector<std::weak_ptr<Span>> spans_;
  std::shared_ptr<Span> selection_;
  bool closed_ = false;
  std::u16string savedAs_;
};

// The Rich Text form of a styled text: font table, sizes in half-points,
// every run's face and size for Latin and for complex scripts alike,
// non-ASCII characters as \uN? escapes, CR LF as \par.
std::string ToRtf(const StyledText& text);

class Word : public WordApplication {
 public:
  Word();
  std::shared_ptr<WordSelection> Selection() override;
  // The active document; null when none is open.
  std::shared_ptr<Document> ActiveDocument() const { return document_; }
  void CloseDocument() { document_.reset(); }
  std::shared_ptr<Faults> faults = std::make_shared<Faults>();

 private:
  std::shared_ptr<Document> document_;
};

class Workbook : public ExcelApplication {
 public:
  struct Cell {
    Variant value;
    std::u16string fontName = u"Arial";
    Variant fontSize = Variant::FromInt(10);
  };
  using Address = std::pair<int, int>;  // row, column, from 1

  std::shared_ptr<IDispatch> ActiveCell() override;
  Cell& At(int row, int column) { return cells_[{row, column}]; }
  Address Active() const { return active_; }
  void Activate(int row, int column) { active_ = {row, column}; }
  void CloseWorkbook() { open_ = false; }
  std::shared_ptr<Faults> faults = std::make_shared<Faults>();

 private:
  friend class CellObject;
  std::map<Address, Cell> cells_;
  Address active_{1, 1};
  bool open_ = true;
};

class Presentation : public PowerPointApplication {
 public:
  std::shared_ptr<PowerPointWindow> ActiveWindow() override;
  StyledText& Body() { return body_; }
  // The selected text range [start, end); no selection when there is no text selected.
  void Select(int start, int end) { selection_ = {start, end}; hasSelection_ = true; }
  void SelectNothing() { hasSelection_ = false; }
  std::pair<int, int> Selection() const { return selection_; }
  std::shared_ptr<Faults> faults = std::make_shared<Faults>();

 private:
  friend class SlideTextRange;
  StyledText body_;
  std::pair<int, int> selection_{0, 0};
  bool hasSelection_ = true;
};

}  // namespace automation::inprocess
