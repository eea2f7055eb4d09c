#include "automation.h"

#include <cerrno>
#include <cstdlib>
#include <map>

namespace automation {

Variant Variant::FromText(std::u16string t) {
  Variant v;
  v.kind = Kind::Text;
  v.text = std::move(t);
  return v;
}
Variant Variant::Of(Kind kind, double number) {
  Variant v;
  v.kind = kind;
  v.number = number;
  return v;
}
Variant Variant::FromDouble(double d) { return Of(Kind::Double, d); }
Variant Variant::FromSingle(float f) { return Of(Kind::Single, f); }
Variant Variant::FromInt(int i) { return Of(Kind::Int32, i); }
Variant Variant::FromBool(bool b) { return Of(Kind::Bool, b ? -1 : 0); }
Variant Variant::FromDispatch(std::shared_ptr<IDispatch> d) {
  Variant v;
  v.kind = Kind::Dispatch;
  v.dispatch = std::move(d);
  return v;
}

namespace {

bool IsNumeric(Variant::Kind k) {
  using K = Variant::Kind;
  return k == K::Double || k == K::Single || k == K::Int32 || k == K::Currency || k == K::Date ||
         k == K::Bool;
}

// Text read as a number: optional blanks around a decimal number.
double TextToNumber(const std::u16string& text) {
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7E) throw EOleError("Type mismatch");
    ascii += static_cast<char>(c);
  }
  const char* begin = ascii.c_str();
  char* end = nullptr;
  errno = 0;
  double d = std::strtod(begin, &end);
  if (end == begin || errno == ERANGE) throw EOleError("Type mismatch");
  while (*end == ' ' || *end == '\t') ++end;
  if (*end != '\0') throw EOleError("Type mismatch");
  return d;
}

double Operand(const Variant& v) {
  if (v.kind == Variant::Kind::Empty) return 0;
  if (v.kind == Variant::Kind::Text) return TextToNumber(v.text);
  if (IsNumeric(v.kind)) return v.number;
  throw EOleError("Type mismatch");
}

}  // namespace

Variant VarAdd(const Variant& a, const Variant& b) {
  using K = Variant::Kind;
  const bool aText = a.kind == K::Text || a.kind == K::Empty;
  const bool bText = b.kind == K::Text || b.kind == K::Empty;
  if (aText && bText) return Variant::FromText(a.text + b.text);
  if (!(aText || IsNumeric(a.kind)) || !(bText || IsNumeric(b.kind)))
    throw EOleError("Type mismatch");
  // A date or currency amount keeps its kind; everything else becomes a double.
  K kind = K::Double;
  if (a.kind == K::Date || b.kind == K::Date) kind = K::Date;
  else if (a.kind == K::Currency || b.kind == K::Currency) kind = K::Currency;
  return Variant::Of(kind, Operand(a) + Operand(b));
}

std::shared_ptr<IDispatch> GetObject(IDispatch& object, int dispId) {
  Variant v = object.Invoke(dispId, InvokeKind::PropertyGet, {});
  if (v.kind != Variant::Kind::Dispatch || !v.dispatch) throw EOleError("Object required");
  return v.dispatch;
}

void FollowEdit(TextSpan& span, int start, int end, int added) {
  const int removed = end - start;
  if (removed > 0 && span.start == start && span.end == end) {
    span.end = start;
    return;
  }
  auto move = [&](int& p) {
    if (p > start) p = p < end ? start : p - removed + added;
  };
  move(span.start);
  move(span.end);
}

// --- running object table -------------------------------------------------------

std::shared_ptr<void> DefaultDocumentStarter();  // inprocess.cpp

namespace {

struct Table {
  std::map<Server, std::shared_ptr<void>> running;
  std::map<Server, std::function<std::shared_ptr<void>()>> starters;
  Table() { Reset(); }
  void Reset() {
    running.clear();
    starters.clear();
    starters[Server::WordDocument] = DefaultDocumentStarter;
  }
};

Table& table() {
  static Table t;
  return t;
}

}  // namespace

namespace detail {

void Register(Server server, std::shared_ptr<void> instance) {
  table().running[server] = std::move(instance);
}

void SetStarter(Server server, std::function<std::shared_ptr<void>()> starter) {
  if (starter) table().starters[server] = std::move(starter);
  else table().starters.erase(server);
}

std::shared_ptr<void> Reach(Server server, bool preferRunning) {
  auto& t = table();
  if (auto it = t.running.find(server); preferRunning && it != t.running.end() && it->second)
    return it->second;
  if (auto it = t.starters.find(server); it != t.starters.end()) {
    if (auto started = it->second()) return started;
  }
  throw EOleError("Server execution failed");
}

void NotConnected() { throw EOleError("The server is not connected."); }

}  // namespace detail

void RevokeRunning(Server server) { table().running.erase(server); }

void ResetServers() { table().Reset(); }

}  // namespace automation
