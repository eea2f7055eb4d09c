#include "inprocess.h"

#include "codepage.h"
#include "files.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>

namespace automation {

std::shared_ptr<void> DefaultDocumentStarter() {
  return std::shared_ptr<WordDocument>(std::make_shared<inprocess::Document>());
}

namespace inprocess {

void Faults::Check(const std::string& member) const {
  if (quit_) throw EOleError("The RPC server is unavailable.");
  if (failing_.count(member)) throw EOleError("Automation error in " + member + ".");
}

// --- StyledText ----------------------------------------------------------------

void StyledText::Clamp(size_t& start, size_t& end) const {
  end = std::min(end, text_.size());
  start = std::min(start, end);
}

void StyledText::Replace(size_t start, size_t end, const std::u16string& text) {
  Clamp(start, end);
  CharFont font;
  if (start > 0) font = fonts_[start - 1];
  else if (end > start) font = fonts_[start];
  else if (!fonts_.empty()) font = fonts_.front();
  text_.replace(start, end - start, text);
  fonts_.erase(fonts_.begin() + static_cast<std::ptrdiff_t>(start),
               fonts_.begin() + static_cast<std::ptrdiff_t>(end));
  fonts_.insert(fonts_.begin() + static_cast<std::ptrdiff_t>(start), text.size(), font);
}

void StyledText::SetFaceName(size_t start, size_t end, const std::u16string& name) {
  Clamp(start, end);
  for (size_t i = start; i < end; ++i) fonts_[i].name = name;
}

void StyledText::SetSize(size_t start, size_t end, float size) {
  Clamp(start, end);
  for (size_t i = start; i < end; ++i) fonts_[i].size = size;
}

std::vector<StyledText::Run> StyledText::Runs() const {
  std::vector<Run> runs;
  for (size_t i = 0; i < text_.size(); ++i) {
    if (runs.empty() || !(runs.back().font == fonts_[i])) runs.push_back({i, 0, fonts_[i]});
    ++runs.back().length;
  }
  return runs;
}

// --- Rich Text ------------------------------------------------------------------

namespace {

// `afterCR` says the text before this piece ended with CR, so that a CR LF
// split between two font runs still makes one paragraph break; it is set
// for the next piece.
void AppendRtfText(std::string& out, std::u16string_view text, bool& afterCR) {
  const bool skipLF = afterCR && !text.empty() && text.front() == u'\n';
  afterCR = !text.empty() && text.back() == u'\r';
  for (size_t i = skipLF ? 1 : 0; i < text.size(); ++i) {
    char16_t c = text[i];
    if (c == u'\r' || c == u'\n') {
      if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
      out += "\\par\r\n";
    } else if (c == u'\t') {
      out += "\\tab ";
    } else if (c == u'\\' || c == u'{' || c == u'}') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c >= 0x20 && c < 0x7F) {
      out += static_cast<char>(c);
    } else {
      out += "\\u" + std::to_string(static_cast<int16_t>(c)) + "?";
    }
  }
}

// A face name in the font table ends at ";" and cannot hold a line break or
// another control character: those are left out, the rest is escaped as text.
void AppendRtfFaceName(std::string& out, std::u16string_view face) {
  std::u16string kept;
  for (char16_t c : face)
    if (c >= 0x20 && c != u';') kept += c;
  bool afterCR = false;
  AppendRtfText(out, kept, afterCR);
}

}  // namespace

std::string ToRtf(const StyledText& text) {
  auto runs = text.Runs();
  std::vector<std::u16string> faces;
  for (auto& r : runs)
    if (std::find(faces.begin(), faces.end(), r.font.name) == faces.end()) faces.push_back(r.font.name);
  if (faces.empty()) faces.push_back(kDefaultFace);

  std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
  for (size_t i = 0; i < faces.size(); ++i) {
    out += "{\\f" + std::to_string(i) + "\\fnil\\fcharset0 ";
    AppendRtfFaceName(out, faces[i]);
    out += ";}";
  }
  out += "}\r\n\\pard\\plain ";
  bool afterCR = false;
  for (auto& r : runs) {
    auto face = std::find(faces.begin(), faces.end(), r.font.name) - faces.begin();
    const std::string f = std::to_string(face), fs = std::to_string(std::lround(r.font.size * 2));
    // Word processors draw complex scripts (Sinhala among them) in the
    // associated face and size, Latin text in the plain ones: set both.
    out += "\\rtlch\\af" + f + "\\afs" + fs + "\\ltrch\\f" + f + "\\fs" + fs + " ";
    AppendRtfText(out, std::u16string_view(text.Text()).substr(r.start, r.length), afterCR);
  }
  out += "}\r\n";
  return out;
}

// --- Word ------------------------------------------------------------------------

namespace {

class SpanFont : public Font {
 public:
  SpanFont(std::shared_ptr<Document> doc, std::shared_ptr<Document::Span> span, std::string owner)
      : doc_(std::move(doc)), span_(std::move(span)), owner_(std::move(owner)) {}
  void SetName(const std::u16string& name) override {
    doc_->Check(owner_ + ".Font.Name");
    doc_->Body().SetFaceName(Pos(span_->start), Pos(span_->end), name);
  }
  void SetSize(float points) override {
    doc_->Check(owner_ + ".Font.Size");
    if (!(points >= 1 && points <= 1638)) throw EOleError("The requested member of the collection does not exist.");
    doc_->Body().SetSize(Pos(span_->start), Pos(span_->end), points);
  }

 private:
  static size_t Pos(int p) { return static_cast<size_t>(std::max(p, 0)); }
  std::shared_ptr<Document> doc_;
  std::shared_ptr<Document::Span> span_;
  std::string owner_;
};

class SpanRange : public WordRange {
 public:
  SpanRange(std::shared_ptr<Document> doc, std::shared_ptr<Document::Span> span)
      : doc_(std::move(doc)), span_(std::move(span)) {}
  int Start() override { doc_->Check("Range.Start"); return span_->start; }
  int End() override { doc_->Check("Range.End"); return span_->end; }
  void SetStart(int value) override {
    doc_->Check("Range.Start");
    span_->start = std::clamp(value, 0, doc_->Length());
    span_->end = std::max(span_->end, span_->start);
  }
  void SetEnd(int value) override {
    doc_->Check("Range.End");
    span_->end = std::clamp(value, 0, doc_->Length());
    span_->start = std::min(span_->start, span_->end);
  }
  std::shared_ptr<Font> GetFont() override {
    doc_->Check("Range.Font");
    return std::make_shared<SpanFont>(doc_, span_, "Range");
  }
  void InsertAfter(const std::u16string& text) override {
    doc_->Check("Range.InsertAfter");
    int at = span_->end;
    doc_->Edit(at, at, text);
    span_->end = at + static_cast<int>(text.size());
  }

 private:
  std::shared_ptr<Document> doc_;
  std::shared_ptr<Document::Span> span_;
};

class DocSelection : public WordSelection {
 public:
  explicit DocSelection(std::shared_ptr<Document> doc) : doc_(std::move(doc)) {}
  std::shared_ptr<WordRange> Range() override {
    doc_->Check("Selection.Range");
    auto& s = doc_->SelectionSpan();
    return doc_->RangeOver(doc_->NewSpan(s.start, s.end));
  }
  void TypeText(const std::u16string& text) override {
    doc_->Check("Selection.TypeText");
    auto s = doc_->SelectionSpan();
    doc_->Edit(s.start, s.end, text);
    int after = s.start + static_cast<int>(text.size());
    doc_->Select(after, after);
  }
  void SetRange(int start, int end) override {
    doc_->Check("Selection.SetRange");
    doc_->Select(start, end);
  }
  std::shared_ptr<Font> GetFont() override {
    doc_->Check("Selection.Font");
    auto& s = doc_->SelectionSpan();
    return std::make_shared<SpanFont>(doc_, doc_->NewSpan(s.start, s.end), "Selection");
  }

 private:
  std::shared_ptr<Document> doc_;
};

}  // namespace

Document::Document(std::shared_ptr<Faults> faults) : faults_(std::move(faults)) {
  selection_ = std::make_shared<Span>();
}

void Document::Check(const std::string& member) const {
  faults_->Check(member);
  if (closed_) throw EOleError("The object invoked has disconnected from its clients.");
}

std::shared_ptr<Document::Span> Document::NewSpan(int start, int end) {
  auto span = std::make_shared<Span>(Span{start, end});
  std::erase_if(spans_, [](const std::weak_ptr<Span>& w) { return w.expired(); });
  spans_.push_back(span);
  return span;
}

std::shared_ptr<WordRange> Document::RangeOver(std::shared_ptr<Span> span) {
  return std::make_shared<SpanRange>(shared_from_this(), std::move(span));
}

void Document::Select(int start, int end) {
  int len = Length();
  selection_->start = std::clamp(std::min(start, end), 0, len);
  selection_->end = std::clamp(std::max(start, end), 0, len);
}

void Document::Edit(int start, int end, const std::u16string& text) {
  body_.Replace(static_cast<size_t>(start), static_cast<size_t>(end), text);
  for (auto& w : spans_)
    if (auto s = w.lock()) FollowEdit(*s, start, end, static_cast<int>(text.size()));
}

std::shared_ptr<WordRange> Document::Content() {
  Check("Content");
  return RangeOver(NewSpan(0, Length()));
}

std::shared_ptr<WordRange> Document::Range() {
  Check("Range");
  return RangeOver(NewSpan(0, Length()));
}

void Document::SaveAs(const std::u16string& fileName) {
  Check("SaveAs");
  std::error_code ec;
  if (!files::ReplaceWhole(codepage::Utf16ToUtf8(fileName), ToRtf(body_), ec))
    throw EOleError("Word cannot save this file.");
  savedAs_ = fileName;
}

void Document::Close() {
  Check("Close");
  closed_ = true;
}

Word::Word() : document_(std::make_shared<Document>(faults)) {}

std::shared_ptr<WordSelection> Word::Selection() {
  faults->Check("Selection");
  if (!document_) throw EOleError("This command is not available because no document is open.");
  return std::make_shared<DocSelection>(document_);
}

// --- Excel ------------------------------------------------------------------------

class CellObject : public IDispatch {
 public:
  CellObject(std::shared_ptr<Faults> faults, Workbook& book, Workbook::Address at)
      : faults_(std::move(faults)), book_(book), at_(at) {}
  Variant Invoke(int id, InvokeKind kind, const std::vector<Variant>& args) override;

 private:
  std::shared_ptr<Faults> faults_;
  Workbook& book_;
  Workbook::Address at_;
};

namespace {

class CellFont : public IDispatch {
 public:
  CellFont(std::shared_ptr<Faults> faults, Workbook::Cell& cell) : faults_(std::move(faults)), cell_(cell) {}
  Variant Invoke(int id, InvokeKind kind, const std::vector<Variant>& args) override {
    if (kind != InvokeKind::PropertyPut || args.size() != 1) throw EOleError("Member not found.");
    if (id == dispid::Name) {
      faults_->Check("Font.Name");
      if (args[0].kind != Variant::Kind::Text) throw EOleError("Type mismatch");
      cell_.fontName = args[0].text;
    } else if (id == dispid::Size) {
      faults_->Check("Font.Size");
      cell_.fontSize = args[0];
    } else {
      throw EOleError("Member not found.");
    }
    return {};
  }

 private:
  std::shared_ptr<Faults> faults_;
  Workbook::Cell& cell_;
};

}  // namespace

Variant CellObject::Invoke(int id, InvokeKind kind, const std::vector<Variant>& args) {
  auto& cell = book_.At(at_.first, at_.second);
  switch (id) {
    case dispid::Value:
      if (kind == InvokeKind::PropertyGet) {
        faults_->Check("Value.get");
        return cell.value;
      }
      if (kind == InvokeKind::PropertyPut && args.size() == 1) {
        faults_->Check("Value.put");
        cell.value = args[0];
        return {};
      }
      break;
    case dispid::Font:
      if (kind != InvokeKind::PropertyGet) break;
      faults_->Check("Font");
      return Variant::FromDispatch(std::make_shared<CellFont>(faults_, cell));
    case dispid::Next:
      if (kind != InvokeKind::PropertyGet) break;
      faults_->Check("Next");
      return Variant::FromDispatch(
          std::make_shared<CellObject>(faults_, book_, Workbook::Address{at_.first, at_.second + 1}));
    case dispid::Select:
      if (kind != InvokeKind::Method) break;
      faults_->Check("Select");
      book_.Activate(at_.first, at_.second);
      return Variant::FromBool(true);
    default:
      break;
  }
  throw EOleError("Member not found.");
}

std::shared_ptr<IDispatch> Workbook::ActiveCell() {
  faults->Check("ActiveCell");
  if (!open_) throw EOleError("No workbook is open.");
  return std::make_shared<CellObject>(faults, *this, active_);
}

// --- PowerPoint ---------------------------------------------------------------------

class SlideTextRange : public PowerPointTextRange {
 public:
  explicit SlideTextRange(Presentation& p) : p_(p) {}
  std::u16string Text() override {
    p_.faults->Check("TextRange.Text.get");
    auto [s, e] = p_.selection_;
    return p_.body_.Text().substr(static_cast<size_t>(s), static_cast<size_t>(e - s));
  }
  void SetText(const std::u16string& text) override {
    p_.faults->Check("TextRange.Text.put");
    auto [s, e] = p_.selection_;
    p_.body_.Replace(static_cast<size_t>(s), static_cast<size_t>(e), text);
    p_.selection_ = {s, s + static_cast<int>(text.size())};
  }
  std::shared_ptr<Font> GetFont() override;

 private:
  Presentation& p_;
};

namespace {

class SlideFont : public Font {
 public:
  explicit SlideFont(Presentation& p) : p_(p) {}
  void SetName(const std::u16string& name) override {
    p_.faults->Check("TextRange.Font.Name");
    auto [s, e] = p_.Selection();
    p_.Body().SetFaceName(static_cast<size_t>(s), static_cast<size_t>(e), name);
  }
  void SetSize(float points) override {
    p_.faults->Check("TextRange.Font.Size");
    auto [s, e] = p_.Selection();
    p_.Body().SetSize(static_cast<size_t>(s), static_cast<size_t>(e), points);
  }

 private:
  Presentation& p_;
};

class SlideSelection : public PowerPointSelection {
 public:
  SlideSelection(Presentation& p, bool hasText) : p_(p), hasText_(hasText) {}
  std::shared_ptr<PowerPointTextRange> TextRange() override {
    p_.faults->Check("Selection.TextRange");
    if (!hasText_) throw EOleError("Selection (unknown member) : Invalid request.  Nothing appropriate is currently selected.");
    return std::make_shared<SlideTextRange>(p_);
  }

 private:
  Presentation& p_;
  bool hasText_;
};

class SlideWindow : public PowerPointWindow {
 public:
  SlideWindow(Presentation& p, bool hasText) : p_(p), hasText_(hasText) {}
  std::shared_ptr<PowerPointSelection> Selection() override {
    p_.faults->Check("ActiveWindow.Selection");
    return std::make_shared<SlideSelection>(p_, hasText_);
  }

 private:
  Presentation& p_;
  bool hasText_;
};

}  // namespace

std::shared_ptr<Font> SlideTextRange::GetFont() {
  p_.faults->Check("TextRange.Font");
  return std::make_shared<SlideFont>(p_);
}

std::shared_ptr<PowerPointWindow> Presentation::ActiveWindow() {
  faults->Check("ActiveWindow");
  return std::make_shared<SlideWindow>(*this, hasSelection_);
}

}  // namespace inprocess
}  // namespace automation
