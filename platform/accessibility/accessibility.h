// Windows of other programs and their accessible objects: lookup by window
// class, the accessible object of a client area, its children, names,
// values and default actions, and the window messages that bring a window
// to the front.
//
// On Linux nothing outside the program publishes windows here: the window
// tree holds only what was created through WindowTree (the in-process
// implementation the tests drive), so on a desktop every lookup finds none.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace accessibility {

using HWND = std::uintptr_t;  // 0: no window

class EAccessibilityError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr long CHILDID_SELF = 0;
inline constexpr long OBJID_CLIENT = -4;
inline constexpr unsigned WM_SYSCOMMAND = 0x0112;
inline constexpr unsigned SC_HOTKEY = 0xF150;
inline constexpr unsigned SC_RESTORE = 0xF120;

// Any accessible or non-accessible object a child list can hold.
class IUnknown {
 public:
  virtual ~IUnknown() = default;
};

// Members raise EAccessibilityError when the call fails.
class IAccessible : public IUnknown {
 public:
  virtual long get_accChildCount() = 0;
  // The child's own object; null when the child has none.
  virtual std::shared_ptr<IUnknown> get_accChild(long childId) = 0;
  virtual std::u16string get_accName(long childId) = 0;
  virtual std::u16string get_accValue(long childId) = 0;
  virtual void put_accValue(long childId, const std::u16string& value) = 0;
  virtual void accDoDefaultAction(long childId) = 0;
  // The children in order: each an object or a child number. Used by AccessibleChildren.
  struct Child {
    std::shared_ptr<IUnknown> object;  // null: a child number
    long childId = 0;
  };
  virtual std::vector<Child> Children() = 0;
};

// QueryInterface for IAccessible: null when the object does not support it.
std::shared_ptr<IAccessible> QueryAccessible(const std::shared_ptr<IUnknown>& object);

enum class HResult { S_OK, S_FALSE, E_FAIL };

// Children [start, start + count) of `container`; S_FALSE when fewer came back.
HResult AccessibleChildren(IAccessible& container, long start, long count,
                           std::vector<IAccessible::Child>& children);

// Window lookup by class name, any title.
HWND FindWindow(const std::u16string& className);
HWND FindWindowEx(HWND parent, HWND childAfter, const std::u16string& className);
// The topmost child window; 0 when there is none.
HWND GetTopWindow(HWND window);
// The accessible object of a window part (only OBJID_CLIENT is served); null when none.
std::shared_ptr<IAccessible> AccessibleObjectFromWindow(HWND window, long objectId);
// Window messages and activation; false when the window does not exist or refuses.
long SendMessage(HWND window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
bool SetForegroundWindow(HWND window);
HWND GetForegroundWindow();

// --- the window tree -----------------------------------------------------------------

// The windows this process knows about, top-level windows in Z order (first
// is topmost), children likewise.
class WindowTree {
 public:
  struct Message {
    HWND window;
    unsigned message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };

  static WindowTree& Instance();

  HWND Create(HWND parent, const std::u16string& className);
  void Destroy(HWND window);
  void SetClientObject(HWND window, std::shared_ptr<IAccessible> object);
  // A window that refuses to come to the foreground.
  void RefuseForeground(HWND window, bool refuse = true);
  void Clear();

  std::vector<Message> messages;  // every SendMessage, in order

 private:
  friend HWND FindWindow(const std::u16string&);
  friend HWND FindWindowEx(HWND, HWND, const std::u16string&);
  friend HWND GetTopWindow(HWND);
  friend std::shared_ptr<IAccessible> AccessibleObjectFromWindow(HWND, long);
  friend long SendMessage(HWND, unsigned, std::uintptr_t, std::intptr_t);
  friend bool SetForegroundWindow(HWND);
  friend HWND GetForegroundWindow();

  struct Window {
    HWND parent = 0;
    std::u16string className;
    std::vector<HWND> children;
    std::shared_ptr<IAccessible> client;
    bool refuseForeground = false;
  };
  std::vector<HWND>& ChildList(HWND parent) { return parent ? windows_.at(parent).children : topLevel_; }
  std::map<HWND, Window> windows_;
  std::vector<HWND> topLevel_;
  HWND next_ = 0x100;
  HWND foreground_ = 0;
};

// --- in-process accessible elements ----------------------------------------------

// A plain accessible element with a name, a value and a default action. Any
// member can be made to fail.
class Element : public IAccessible, public std::enable_shared_from_this<Element> {
 public:
  explicit Element(std::u16string name) : name_(std::move(name)) {}

  long get_accChildCount() override;
  std::shared_ptr<IUnknown> get_accChild(long childId) override;
  std::u16string get_accName(long childId) override;
  std::u16string get_accValue(long childId) override;
  void put_accValue(long childId, const std::u16string& value) override;
  void accDoDefaultAction(long childId) override;
  std::vector<Child> Children() override;

  std::u16string value;
  std::function<void()> defaultAction;
  int actions = 0;  // default actions performed
  // Member names that fail: "get_accChildCount", "get_accName", ...
  std::vector<std::string> failing;
  // AccessibleChildren reports this instead of S_OK when set.
  HResult childrenResult = HResult::S_OK;

  // A child given as an object, as a child number with an object behind it,
  // or as a bare object of no accessible kind.
  void AddChild(std::shared_ptr<IUnknown> object);
  void AddNumberedChild(std::shared_ptr<IUnknown> object);

 private:
  void Check(const char* member, long childId) const;
  std::u16string name_;
  std::vector<Child> children_;
  std::map<long, std::shared_ptr<IUnknown>> numbered_;
};

}  // namespace accessibility
