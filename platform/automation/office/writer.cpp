// Writer in Word's place. The typing tool types in one step at the view
// cursor (WordSelection::TypeStyled), working from the cursor's own range,
// so that the document's size plays no part.
//
// For the members one by one: Word counts positions in characters with a
// paragraph mark between paragraphs, and the typing tool sends CR LF between
// lines and counts both: here a position counts the characters of the text
// before it, a paragraph break as two (CR LF), so that a range moved on by
// the length of the text just typed ends where that text ends. Positions are
// turned back into places by moving a cursor from the view cursor (or the
// start of a new document), so that only the text between the two is read.
#include "files.h"
#include "office_servers.h"
#include "texts.h"

#include <osl/file.hxx>

#include <com/sun/star/beans/PropertyValue.hpp>
#include <com/sun/star/frame/XComponentLoader.hpp>
#include <com/sun/star/frame/XStorable.hpp>
#include <com/sun/star/text/ControlCharacter.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextDocument.hpp>
#include <com/sun/star/text/XTextPortionAppend.hpp>
#include <com/sun/star/text/XTextViewCursor.hpp>
#include <com/sun/star/text/XTextViewCursorSupplier.hpp>
#include <com/sun/star/util/XCloseable.hpp>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <functional>

namespace automation::office {

namespace {

using css::text::XText;
using css::text::XTextCursor;
using css::text::XTextRange;
using rtl::OUString;

constexpr char kWriterDocument[] = "com.sun.star.text.TextDocument";

int Units(const OUString& text) {
  int units = text.getLength();
  for (sal_Int32 i = 0; i < text.getLength(); ++i)
    if (text[i] == u'\n') ++units;
  return units;
}

int Units(const std::vector<std::u16string>& lines) {
  int units = 0;
  for (auto& line : lines) units += static_cast<int>(line.size());
  return units + 2 * static_cast<int>(lines.size() - 1);
}

// The cursor steps that cover `units` of `text` read forwards (or, with
// `backwards`, from its end).
sal_Int32 Steps(const OUString& text, int units, bool backwards) {
  sal_Int32 steps = 0;
  for (int covered = 0; covered < units && steps < text.getLength(); ++steps) {
    const sal_Unicode c = text[backwards ? text.getLength() - 1 - steps : steps];
    covered += c == u'\n' ? 2 : 1;
  }
  return steps;
}

void Move(const Reference<XTextCursor>& cursor, sal_Int32 steps, bool forwards) {
  while (steps > 0) {
    const auto n = static_cast<sal_Int16>(std::min<sal_Int32>(steps, SAL_MAX_INT16));
    forwards ? cursor->goRight(n, false) : cursor->goLeft(n, false);
    steps -= n;
  }
}

// One text of a Writer document (the body, a table cell, a frame) with
// positions counted as above. Call inside Connection::Call.
class WriterText {
 public:
  WriterText(Reference<XText> text, Reference<XTextRange> anchor)
      : text_(std::move(text)), anchor_(anchor.is() ? anchor->getStart() : text_->getStart()) {}

  int Offset(const Reference<XTextRange>& at) const {
    Reference<XTextCursor> c = text_->createTextCursor();
    c->gotoStart(false);
    c->gotoRange(at->getStart(), true);
    return Units(c->getString());
  }
  int Length() const { return Offset(text_->getEnd()); }

  // A cursor over [start, end).
  Reference<XTextCursor> Cursor(int start, int end) const {
    Reference<XTextCursor> c = At(start);
    if (end != start) c->gotoRange(At(end).get(), true);
    return c;
  }

  // Replaces [start, end) by `lines`, a paragraph break between two;
  // returns a cursor just after them.
  Reference<XTextCursor> Replace(int start, int end, const std::vector<std::u16string>& lines) const {
    Reference<XTextCursor> c = Cursor(start, end);
    text_->insertString(c.get(), ToOUString(lines.front()), true);
    c->collapseToEnd();
    for (size_t i = 1; i < lines.size(); ++i) {
      text_->insertControlCharacter(c.get(), css::text::ControlCharacter::PARAGRAPH_BREAK, false);
      c->collapseToEnd();
      text_->insertString(c.get(), ToOUString(lines[i]), false);
      c->collapseToEnd();
    }
    return c;
  }

 private:
  Reference<XTextCursor> At(int position) const {
    const int anchorAt = Offset(anchor_);
    Reference<XTextCursor> c = text_->createTextCursorByRange(anchor_);
    Reference<XTextCursor> probe = text_->createTextCursorByRange(anchor_);
    const bool forwards = position >= anchorAt;
    if (forwards) probe->gotoEnd(true);
    else probe->gotoStart(true);
    Move(c, Steps(probe->getString(), std::abs(position - anchorAt), !forwards), forwards);
    return c;
  }

  Reference<XText> text_;
  Reference<XTextRange> anchor_;
};

// The live ranges taken from one document.
class Spans {
 public:
  std::shared_ptr<TextSpan> New(int start, int end) {
    auto span = std::make_shared<TextSpan>(TextSpan{start, end});
    std::erase_if(live_, [](const std::weak_ptr<TextSpan>& w) { return w.expired(); });
    live_.push_back(span);
    return span;
  }
  void Edit(int start, int end, int added) {
    for (auto& w : live_)
      if (auto s = w.lock()) FollowEdit(*s, start, end, added);
  }

 private:
  std::vector<std::weak_ptr<TextSpan>> live_;
};

// What a range needs of its document: the connection, the text it lies in
// and the document's live ranges.
struct Owner {
  std::shared_ptr<Connection> office;
  Spans spans;
  virtual ~Owner() = default;
  virtual WriterText Text() = 0;  // call inside Connection::Call
};

class PropertyFont : public Font {
 public:
  PropertyFont(std::shared_ptr<Owner> owner, std::function<Reference<css::beans::XPropertySet>()> target)
      : owner_(std::move(owner)), target_(std::move(target)) {}
  void SetName(const std::u16string& name) override {
    owner_->office->Call([target = target_, name] { SetFace(target(), name); });
  }
  void SetSize(float points) override {
    owner_->office->Call([target = target_, points] { office::SetSize(target(), points); });
  }

 private:
  std::shared_ptr<Owner> owner_;
  std::function<Reference<css::beans::XPropertySet>()> target_;
};

class WriterRange : public WordRange {
 public:
  WriterRange(std::shared_ptr<Owner> owner, std::shared_ptr<TextSpan> span)
      : owner_(std::move(owner)), span_(std::move(span)) {}
  int Start() override { return span_->start; }
  int End() override { return span_->end; }
  void SetStart(int value) override {
    span_->start = std::clamp(value, 0, Length());
    span_->end = std::max(span_->end, span_->start);
  }
  void SetEnd(int value) override {
    span_->end = std::clamp(value, 0, Length());
    span_->start = std::min(span_->start, span_->end);
  }
  std::shared_ptr<Font> GetFont() override {
    auto owner = owner_;
    auto span = span_;
    return std::make_shared<PropertyFont>(owner, [owner, span] {
      return Reference<css::beans::XPropertySet>(owner->Text().Cursor(span->start, span->end), css::uno::UNO_QUERY_THROW);
    });
  }
  void InsertAfter(const std::u16string& text) override {
    const auto lines = Lines(text);
    const int at = span_->end;
    owner_->office->Call([owner = owner_, at, lines] { owner->Text().Replace(at, at, lines); });
    owner_->spans.Edit(at, at, Units(lines));
    span_->end = at + Units(lines);
  }

 private:
  int Length() {
    return owner_->office->Call([owner = owner_] { return owner->Text().Length(); });
  }
  std::shared_ptr<Owner> owner_;
  std::shared_ptr<TextSpan> span_;
};

// --- Word: the view cursor of the Writer document the user works in -----------

Reference<css::text::XTextViewCursor> ViewCursor(Connection& office) {
  auto document = FindDocument(office, kWriterDocument);
  if (!document.is()) throw EOleError("This command is not available because no document is open.");
  Reference<css::text::XTextViewCursorSupplier> supplier(document->getCurrentController(), css::uno::UNO_QUERY);
  if (!supplier.is()) throw EOleError("This command is not available because no document is open.");
  return supplier->getViewCursor();
}

class WriterApplication : public WordApplication, public Owner, public std::enable_shared_from_this<WriterApplication> {
 public:
  explicit WriterApplication(std::shared_ptr<Connection> connection) { office = std::move(connection); }
  std::shared_ptr<WordSelection> Selection() override;
  WriterText Text() override {
    auto cursor = ViewCursor(*office);
    return WriterText(cursor->getText(), cursor.get());
  }
};

class WriterSelection : public WordSelection {
 public:
  explicit WriterSelection(std::shared_ptr<WriterApplication> app) : app_(std::move(app)) {}
  std::shared_ptr<WordRange> Range() override {
    auto [start, end] = app_->office->Call([office = app_->office] {
      auto cursor = ViewCursor(*office);
      WriterText text(cursor->getText(), cursor.get());
      return std::pair(text.Offset(cursor->getStart()), text.Offset(cursor->getEnd()));
    });
    return std::make_shared<WriterRange>(app_, app_->spans.New(std::min(start, end), std::max(start, end)));
  }
  void TypeText(const std::u16string& typed) override {
    const auto lines = Lines(typed);
    auto [start, end] = app_->office->Call([office = app_->office, lines] {
      auto cursor = ViewCursor(*office);
      WriterText text(cursor->getText(), cursor.get());
      int a = text.Offset(cursor->getStart()), b = text.Offset(cursor->getEnd());
      if (b < a) std::swap(a, b);
      cursor->gotoRange(text.Replace(a, b, lines).get(), false);
      return std::pair(a, b);
    });
    app_->spans.Edit(start, end, Units(lines));
  }
  void SetRange(int start, int end) override {
    app_->office->Call([office = app_->office, start, end] {
      auto cursor = ViewCursor(*office);
      auto range = WriterText(cursor->getText(), cursor.get()).Cursor(std::min(start, end), std::max(start, end));
      cursor->gotoRange(range->getStart(), false);
      cursor->gotoRange(range->getEnd(), true);
    });
  }
  std::shared_ptr<Font> GetFont() override {
    auto app = app_;
    return std::make_shared<PropertyFont>(app, [app] {
      return Reference<css::beans::XPropertySet>(ViewCursor(*app->office), css::uno::UNO_QUERY_THROW);
    });
  }
  bool TypeStyled(const TypedText& styled) override {
    const bool sized = styled.points && IsSize(*styled.points);
    auto step = [office = app_->office, sized,
                 properties = StyleProperties(styled.face, sized ? styled.points : std::nullopt)](
                    const std::u16string& rest) {
      // The office makes a paragraph of each line when they are split by CR.
      const OUString typed = ToOUString(Join(Lines(rest), u'\r'));
      auto cursor = ViewCursor(*office);
      Reference<css::text::XTextPortionAppend> text(cursor->getText(), css::uno::UNO_QUERY_THROW);
      // Typing replaces the selection.
      Connection::GoOn();
      if (!cursor->isCollapsed()) cursor->setString(OUString());
      // The text in its face and size, in one call.
      Connection::GoOn();
      Connection::Sending();
      Reference<XTextRange> range =
          typed.isEmpty() ? cursor->getStart() : text->insertTextPortion(typed, properties, cursor->getStart());
      // Without a size the text is left selected, so that typing it again replaces it.
      Connection::Landed(!sized);
      if (sized) {
        cursor->gotoRange(range->getEnd(), false);
      } else {
        cursor->gotoRange(range->getStart(), false);
        cursor->gotoRange(range->getEnd(), true);
      }
    };
    app_->office->Type(Delivery::Kind::Writer, styled.text, std::move(step));
    if (styled.points && !sized) throw EOleError("The requested member of the collection does not exist.");
    return true;
  }

 private:
  std::shared_ptr<WriterApplication> app_;
};

std::shared_ptr<WordSelection> WriterApplication::Selection() {
  office->Call([connection = office] { ViewCursor(*connection); });
  return std::make_shared<WriterSelection>(shared_from_this());
}

// --- Word document: a new, hidden Writer document -------------------------------

css::uno::Sequence<css::beans::PropertyValue> Properties(std::initializer_list<css::beans::PropertyValue> list) {
  return css::uno::Sequence<css::beans::PropertyValue>(list.begin(), static_cast<sal_Int32>(list.size()));
}

OUString FileUrl(const std::string& path) {
  OUString url;
  const std::string absolute = std::filesystem::absolute(path).string();
  if (osl::FileBase::getFileURLFromSystemPath(OUString::fromUtf8(absolute.c_str()), url) != osl::FileBase::E_None)
    throw EOleError("The file name is not valid.");
  return url;
}

class WriterDocument : public WordDocument, public Owner, public std::enable_shared_from_this<WriterDocument> {
 public:
  explicit WriterDocument(std::shared_ptr<Connection> connection) {
    office = std::move(connection);
    document_ = office->Call([connection = office] {
      Reference<css::frame::XComponentLoader> loader(connection->Desktop(), css::uno::UNO_QUERY_THROW);
      return Reference<css::text::XTextDocument>(
          loader->loadComponentFromURL("private:factory/swriter", "_blank", 0,
                                       Properties({Property("Hidden", css::uno::Any(true))})),
          css::uno::UNO_QUERY_THROW);
    });
  }
  // A document nobody can see is not left open in the office.
  ~WriterDocument() override {
    if (!closed_) try {
        Close();
      } catch (const EOleError&) {
      }
  }
  WriterText Text() override {
    Open();
    return WriterText(document_->getText(), nullptr);
  }
  std::shared_ptr<WordRange> Content() override { return Whole(); }
  std::shared_ptr<WordRange> Range() override { return Whole(); }
  // The office writes the document into a temporary file in a folder only
  // this user may enter, whose bytes then replace the target as a whole. The
  // folder goes again on every path.
  void SaveAs(const std::u16string& fileName) override {
    Open();
    namespace fs = std::filesystem;
    std::string folder = (fs::temp_directory_path() / "varunel-export-XXXXXX").string();
    if (!::mkdtemp(folder.data())) throw EOleError("Word cannot save this file.");
    struct Removed {
      fs::path path;
      ~Removed() {
        std::error_code ec;
        fs::remove_all(path, ec);
      }
    } removed{folder};
    const fs::path temp = fs::path(folder) / "export.doc";
    office->Call([document = document_, url = FileUrl(temp.string())] {
      Reference<css::frame::XStorable> storable(document, css::uno::UNO_QUERY_THROW);
      storable->storeToURL(url, Properties({Property("FilterName", css::uno::Any(OUString("MS Word 97"))),
                                            Property("Overwrite", css::uno::Any(true))}));
    });
    std::string bytes;
    std::error_code ec;
    if (!files::ReadWhole(temp, std::uintmax_t{1} << 31, bytes, ec) ||
        !files::ReplaceWhole(fs::path(Utf8(ToOUString(fileName))), bytes, ec))
      throw EOleError("Word cannot save this file.");
  }
  void Close() override {
    Open();
    office->Call([document = document_] {
      Reference<css::util::XCloseable>(document, css::uno::UNO_QUERY_THROW)->close(true);
    });
    closed_ = true;
  }

 private:
  std::shared_ptr<WordRange> Whole() {
    const int length = office->Call([owner = shared_from_this()] { return owner->Text().Length(); });
    return std::make_shared<WriterRange>(shared_from_this(), spans.New(0, length));
  }
  void Open() const {
    if (closed_) throw EOleError("The object invoked has disconnected from its clients.");
  }
  Reference<css::text::XTextDocument> document_;
  bool closed_ = false;
};

}  // namespace

std::shared_ptr<WordApplication> OpenWriter(std::shared_ptr<Connection> office) {
  return std::make_shared<WriterApplication>(std::move(office));
}

std::shared_ptr<WordDocument> NewWriterDocument(std::shared_ptr<Connection> office) {
  return std::make_shared<WriterDocument>(std::move(office));
}

}  // namespace automation::office
