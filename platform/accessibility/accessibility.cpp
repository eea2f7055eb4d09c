#include "accessibility.h"

#include <algorithm>

namespace accessibility {

std::shared_ptr<IAccessible> QueryAccessible(const std::shared_ptr<IUnknown>& object) {
  return std::dynamic_pointer_cast<IAccessible>(object);
}

HResult AccessibleChildren(IAccessible& container, long start, long count,
                           std::vector<IAccessible::Child>& children) {
  children.clear();
  std::vector<IAccessible::Child> all;
  try {
    all = container.Children();
  } catch (const EAccessibilityError&) {
    return HResult::E_FAIL;
  }
  if (auto* element = dynamic_cast<Element*>(&container);
      element && element->childrenResult != HResult::S_OK)
    return element->childrenResult;
  for (long i = std::max(start, 0L); i < start + count && i < static_cast<long>(all.size()); ++i)
    children.push_back(all[static_cast<size_t>(i)]);
  return static_cast<long>(children.size()) == count ? HResult::S_OK : HResult::S_FALSE;
}

// --- windows ---------------------------------------------------------------------

WindowTree& WindowTree::Instance() {
  static WindowTree tree;
  return tree;
}

HWND WindowTree::Create(HWND parent, const std::u16string& className) {
  HWND h = next_++;
  windows_[h] = Window{parent, className, {}, nullptr, false};
  auto& list = ChildList(parent);
  list.insert(list.begin(), h);  // a new window comes on top
  return h;
}

void WindowTree::Destroy(HWND window) {
  auto it = windows_.find(window);
  if (it == windows_.end()) return;
  for (HWND child : std::vector<HWND>(it->second.children)) Destroy(child);
  std::erase(ChildList(it->second.parent), window);
  if (foreground_ == window) foreground_ = 0;
  windows_.erase(window);
}

void WindowTree::SetClientObject(HWND window, std::shared_ptr<IAccessible> object) {
  windows_.at(window).client = std::move(object);
}

void WindowTree::RefuseForeground(HWND window, bool refuse) { windows_.at(window).refuseForeground = refuse; }

void WindowTree::Clear() {
  windows_.clear();
  topLevel_.clear();
  messages.clear();
  foreground_ = 0;
}

HWND FindWindow(const std::u16string& className) { return FindWindowEx(0, 0, className); }

HWND FindWindowEx(HWND parent, HWND childAfter, const std::u16string& className) {
  auto& tree = WindowTree::Instance();
  if (parent && !tree.windows_.count(parent)) return 0;
  auto& list = tree.ChildList(parent);
  auto it = list.begin();
  if (childAfter) {
    it = std::find(list.begin(), list.end(), childAfter);
    if (it == list.end()) return 0;
    ++it;
  }
  for (; it != list.end(); ++it)
    if (tree.windows_.at(*it).className == className) return *it;
  return 0;
}

HWND GetTopWindow(HWND window) {
  auto& tree = WindowTree::Instance();
  if (window && !tree.windows_.count(window)) return 0;
  auto& list = tree.ChildList(window);
  return list.empty() ? 0 : list.front();
}

std::shared_ptr<IAccessible> AccessibleObjectFromWindow(HWND window, long objectId) {
  auto& tree = WindowTree::Instance();
  auto it = tree.windows_.find(window);
  if (it == tree.windows_.end() || objectId != OBJID_CLIENT) return nullptr;
  return it->second.client;
}

long SendMessage(HWND window, unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
  auto& tree = WindowTree::Instance();
  if (!tree.windows_.count(window)) return 0;
  tree.messages.push_back({window, message, wParam, lParam});
  return 0;
}

bool SetForegroundWindow(HWND window) {
  auto& tree = WindowTree::Instance();
  auto it = tree.windows_.find(window);
  if (it == tree.windows_.end() || it->second.refuseForeground) return false;
  tree.foreground_ = window;
  return true;
}

HWND GetForegroundWindow() { return WindowTree::Instance().foreground_; }

// --- elements --------------------------------------------------------------------

void Element::Check(const char* member, long childId) const {
  if (std::find(failing.begin(), failing.end(), member) != failing.end())
    throw EAccessibilityError(std::string(member) + " failed");
  if (childId != CHILDID_SELF) throw EAccessibilityError("The parameter is incorrect.");
}

long Element::get_accChildCount() {
  Check("get_accChildCount", CHILDID_SELF);
  return static_cast<long>(children_.size());
}

std::shared_ptr<IUnknown> Element::get_accChild(long childId) {
  if (std::find(failing.begin(), failing.end(), "get_accChild") != failing.end())
    throw EAccessibilityError("get_accChild failed");
  auto it = numbered_.find(childId);
  return it == numbered_.end() ? nullptr : it->second;
}

std::u16string Element::get_accName(long childId) {
  Check("get_accName", childId);
  return name_;
}

std::u16string Element::get_accValue(long childId) {
  Check("get_accValue", childId);
  return value;
}

void Element::put_accValue(long childId, const std::u16string& v) {
  Check("put_accValue", childId);
  value = v;
}

void Element::accDoDefaultAction(long childId) {
  Check("accDoDefaultAction", childId);
  ++actions;
  if (defaultAction) defaultAction();
}

std::vector<IAccessible::Child> Element::Children() {
  Check("Children", CHILDID_SELF);
  return children_;
}

void Element::AddChild(std::shared_ptr<IUnknown> object) { children_.push_back({std::move(object), 0}); }

void Element::AddNumberedChild(std::shared_ptr<IUnknown> object) {
  long id = static_cast<long>(children_.size()) + 1;
  children_.push_back({nullptr, id});
  if (object) numbered_[id] = std::move(object);
}

}  // namespace accessibility
