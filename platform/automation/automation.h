// The Office object model the typing tool drives: the few members of Word,
// Excel and PowerPoint it calls, as C++ interfaces, and the connection
// components that reach a running instance of each application (or start
// one) and never quit it.
//
// Every failing call raises EOleError. Its text is the application's own;
// callers show it or replace it with their own message.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace automation {

class EOleError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// --- automation variants and late binding ------------------------------------

class IDispatch;

struct Variant {
  enum class Kind { Empty, Text, Double, Single, Int32, Currency, Date, Bool, Error, Dispatch };
  Kind kind = Kind::Empty;
  std::u16string text;
  double number = 0;  // Double, Single, Int32, Currency, Date; Bool: -1 or 0; Error: the code
  std::shared_ptr<IDispatch> dispatch;

  static Variant FromText(std::u16string t);
  static Variant FromDouble(double d);
  static Variant FromSingle(float f);
  static Variant FromInt(int i);
  static Variant FromBool(bool b);
  static Variant FromDispatch(std::shared_ptr<IDispatch> d);
  static Variant Of(Kind kind, double number);
};

// Variant addition: text joins text (an empty variant counts as empty
// text); a number, date, currency amount or truth value adds the other
// operand read as a number; anything else raises EOleError.
Variant VarAdd(const Variant& a, const Variant& b);

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// A late-bound object: members are reached by dispatch identifier.
class IDispatch {
 public:
  virtual ~IDispatch() = default;
  virtual Variant Invoke(int dispId, InvokeKind kind, const std::vector<Variant>& args) = 0;
};

// Dispatch identifiers of the Excel range and font members the tool calls.
namespace dispid {
inline constexpr int Value = 6;
inline constexpr int Font = 0x92;
inline constexpr int Name = 0x6E;
inline constexpr int Size = 0x68;
inline constexpr int Next = 0x1F6;
inline constexpr int Select = 0xEB;
}  // namespace dispid

// --- Word and PowerPoint ------------------------------------------------------

// Text sent in one step with its face and, when given, its size in points
// (WordSelection::TypeStyled, PowerPointTextRange::AppendStyled,
// ExcelApplication::TypeStyled).
struct TypedText {
  std::u16string text;
  std::u16string face;
  std::optional<float> points;
};

class Font {
 public:
  virtual ~Font() = default;
  virtual void SetName(const std::u16string& name) = 0;
  virtual void SetSize(float points) = 0;
};

class WordRange {
 public:
  virtual ~WordRange() = default;
  virtual int Start() = 0;
  virtual void SetStart(int value) = 0;
  virtual int End() = 0;
  virtual void SetEnd(int value) = 0;
  virtual std::shared_ptr<Font> GetFont() = 0;
  virtual void InsertAfter(const std::u16string& text) = 0;
};

class WordSelection {
 public:
  virtual ~WordSelection() = default;
  virtual std::shared_ptr<WordRange> Range() = 0;
  virtual void TypeText(const std::u16string& text) = 0;
  virtual void SetRange(int start, int end) = 0;
  virtual std::shared_ptr<Font> GetFont() = 0;
  // What TypeText, SetRange over the typed text, the font's name and size
  // and SetRange after it do, as one step: without a size the typed text is
  // left selected, and a size out of range raises after the text is typed,
  // as the size step would. A step given up (EOleError) while its text is
  // on its way may still type it once the application answers again; the
  // next step then types only what of its text is not typed yet (see
  // office.h). Returns false where the application has no such step; the
  // caller then goes through the members above.
  virtual bool TypeStyled(const TypedText&) { return false; }
};

class WordDocument {
 public:
  virtual ~WordDocument() = default;
  virtual std::shared_ptr<WordRange> Content() = 0;
  // The whole document (Range with both arguments omitted).
  virtual std::shared_ptr<WordRange> Range() = 0;
  // Word chooses the file format; every other argument is omitted.
  virtual void SaveAs(const std::u16string& fileName) = 0;
  virtual void Close() = 0;
  // True where SaveAs writes Rich Text instead: a document the program keeps
  // itself because no word processor could be reached.
  virtual bool SavesRichText() const { return false; }
};

class WordApplication {
 public:
  virtual ~WordApplication() = default;
  virtual std::shared_ptr<WordSelection> Selection() = 0;
};

class ExcelApplication {
 public:
  virtual ~ExcelApplication() = default;
  virtual std::shared_ptr<IDispatch> ActiveCell() = 0;
  // What the active cell's Value (its value added to the text, as VarAdd
  // adds), its font's Name and Size and, with `selectNext`, Next.Select do,
  // as one step. Without a size, or with one out of range (which raises
  // after the face is set, as the size step would), the cell keeps its size
  // and the active cell does not move. As WordSelection::TypeStyled otherwise.
  virtual bool TypeStyled(const TypedText&, bool /*selectNext*/) { return false; }
};

class PowerPointTextRange {
 public:
  virtual ~PowerPointTextRange() = default;
  virtual std::u16string Text() = 0;
  virtual void SetText(const std::u16string& text) = 0;
  virtual std::shared_ptr<Font> GetFont() = 0;
  // What SetText(Text() + text) and the font's name and size do, as one
  // step, with the insertion point left after the text; as
  // WordSelection::TypeStyled otherwise.
  virtual bool AppendStyled(const TypedText&) { return false; }
};

class PowerPointSelection {
 public:
  virtual ~PowerPointSelection() = default;
  virtual std::shared_ptr<PowerPointTextRange> TextRange() = 0;
};

class PowerPointWindow {
 public:
  virtual ~PowerPointWindow() = default;
  virtual std::shared_ptr<PowerPointSelection> Selection() = 0;
};

class PowerPointApplication {
 public:
  virtual ~PowerPointApplication() = default;
  virtual std::shared_ptr<PowerPointWindow> ActiveWindow() = 0;
};

// --- running instances ---------------------------------------------------------

enum class Server { Word, Excel, PowerPoint, WordDocument };

template <class Interface> struct ServerOf;
template <> struct ServerOf<WordApplication> { static constexpr Server value = Server::Word; };
template <> struct ServerOf<ExcelApplication> { static constexpr Server value = Server::Excel; };
template <> struct ServerOf<PowerPointApplication> { static constexpr Server value = Server::PowerPoint; };
template <> struct ServerOf<WordDocument> { static constexpr Server value = Server::WordDocument; };

namespace detail {
void Register(Server server, std::shared_ptr<void> instance);
void SetStarter(Server server, std::function<std::shared_ptr<void>()> starter);
}  // namespace detail

// The running object table: the instance of each server that runs now.
// Registering replaces, revoking forgets. Nothing is registered by default.
template <class Interface>
void RegisterRunning(std::shared_ptr<Interface> instance) {
  detail::Register(ServerOf<Interface>::value, std::move(instance));
}
void RevokeRunning(Server server);

// How a server is started when none runs. Without a starter a connection
// fails; by default only WordDocument has one (a new in-process document,
// see inprocess.h). An empty function removes the starter.
template <class Interface>
void SetStarter(std::function<std::shared_ptr<Interface>()> starter) {
  std::function<std::shared_ptr<void>()> erased;
  if (starter) erased = [starter] { return std::shared_ptr<void>(starter()); };
  detail::SetStarter(ServerOf<Interface>::value, std::move(erased));
}
// Puts every server back into its start-up state: nothing running, default starters.
void ResetServers();

// A connection component: connects on demand, prefers the running instance,
// else starts one, and never quits the application.
template <class Interface>
class TOleServer {
 public:
  explicit TOleServer(Server server, bool preferRunning = true)
      : server_(server), preferRunning_(preferRunning) {}
  // Keeps an open connection; raises EOleError when nothing can be reached.
  void Connect();
  void Disconnect() { instance_.reset(); }
  bool Connected() const { return instance_ != nullptr; }

 protected:
  Interface& Intf() const;

 private:
  Server server_;
  bool preferRunning_;
  std::shared_ptr<Interface> instance_;
};

class TWordApplication : public TOleServer<WordApplication> {
 public:
  TWordApplication() : TOleServer(Server::Word) {}
  std::shared_ptr<WordSelection> Selection() const { return Intf().Selection(); }
};

class TExcelApplication : public TOleServer<ExcelApplication> {
 public:
  TExcelApplication() : TOleServer(Server::Excel) {}
  std::shared_ptr<IDispatch> ActiveCell() const { return Intf().ActiveCell(); }
  bool TypeStyled(const TypedText& styled, bool selectNext) const { return Intf().TypeStyled(styled, selectNext); }
};

class TPowerPointApplication : public TOleServer<PowerPointApplication> {
 public:
  TPowerPointApplication() : TOleServer(Server::PowerPoint) {}
  std::shared_ptr<PowerPointWindow> ActiveWindow() const { return Intf().ActiveWindow(); }
};

class TWordDocument : public TOleServer<WordDocument> {
 public:
  // Always a new document: attaching to one the user has open would put the
  // export into it, save it under the export's name and close it.
  TWordDocument() : TOleServer(Server::WordDocument, false) {}
  std::shared_ptr<WordRange> Content() const { return Intf().Content(); }
  std::shared_ptr<WordRange> Range() const { return Intf().Range(); }
  void SaveAs(const std::u16string& fileName) const { Intf().SaveAs(fileName); }
  void Close() const { Intf().Close(); }
  bool SavesRichText() const { return Intf().SavesRichText(); }
};

// A stretch of a document's text as a Word range holds it: [start, end).
struct TextSpan {
  int start = 0, end = 0;
};
// How a span follows the replacement of [start, end) by `added` characters:
// positions inside the replaced text collapse to its start, and so does a
// span that was exactly the replaced text; later positions shift.
void FollowEdit(TextSpan& span, int start, int end, int added);

// Late-bound helpers: raise EOleError when the result is not an object.
std::shared_ptr<IDispatch> GetObject(IDispatch& object, int dispId);

namespace detail {
std::shared_ptr<void> Reach(Server server, bool preferRunning);
[[noreturn]] void NotConnected();
}  // namespace detail

template <class Interface>
void TOleServer<Interface>::Connect() {
  if (instance_) return;
  instance_ = std::static_pointer_cast<Interface>(detail::Reach(server_, preferRunning_));
}

template <class Interface>
Interface& TOleServer<Interface>::Intf() const {
  if (!instance_) detail::NotConnected();
  return *instance_;
}

}  // namespace automation
