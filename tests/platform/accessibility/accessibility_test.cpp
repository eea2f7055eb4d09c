#include "accessibility.h"

#include <gtest/gtest.h>

using namespace accessibility;

class WindowTreeTest : public ::testing::Test {
 protected:
  void TearDown() override { tree.Clear(); }
  WindowTree& tree = WindowTree::Instance();
};

TEST_F(WindowTreeTest, NothingRegisteredFindsNoWindow) {
  EXPECT_EQ(FindWindow(u"IMWindowClass"), 0u);
  EXPECT_EQ(FindWindowEx(0x1234, 0, u"DirectUIHWND"), 0u);
  EXPECT_EQ(AccessibleObjectFromWindow(0x1234, OBJID_CLIENT), nullptr);
  EXPECT_EQ(GetTopWindow(0x1234), 0u);
  EXPECT_FALSE(SetForegroundWindow(0x1234));
}

TEST_F(WindowTreeTest, LookupByClassFollowsZOrder) {
  HWND older = tree.Create(0, u"IMWindowClass");
  tree.Create(0, u"Other");
  HWND newer = tree.Create(0, u"IMWindowClass");
  EXPECT_EQ(FindWindow(u"IMWindowClass"), newer);  // the topmost first
  EXPECT_EQ(FindWindowEx(0, newer, u"IMWindowClass"), older);
  EXPECT_EQ(FindWindowEx(0, older, u"IMWindowClass"), 0u);

  HWND content = tree.Create(older, u"DirectUIHWND");
  HWND top = tree.Create(older, u"Edit");
  EXPECT_EQ(FindWindowEx(older, 0, u"DirectUIHWND"), content);
  EXPECT_EQ(FindWindowEx(newer, 0, u"DirectUIHWND"), 0u);
  EXPECT_EQ(GetTopWindow(older), top);
  tree.Destroy(older);
  EXPECT_EQ(FindWindowEx(0, newer, u"IMWindowClass"), 0u);
  EXPECT_EQ(AccessibleObjectFromWindow(content, OBJID_CLIENT), nullptr);
}

TEST_F(WindowTreeTest, ChildrenComeAsObjectsOrNumbers) {
  auto root = std::make_shared<Element>(u"root");
  auto a = std::make_shared<Element>(u"a");
  auto b = std::make_shared<Element>(u"b");
  root->AddChild(a);
  root->AddNumberedChild(b);
  root->AddNumberedChild(nullptr);
  root->AddChild(std::make_shared<IUnknown>());

  std::vector<IAccessible::Child> children;
  ASSERT_EQ(AccessibleChildren(*root, 0, root->get_accChildCount(), children), HResult::S_OK);
  ASSERT_EQ(children.size(), 4u);
  EXPECT_EQ(children[0].object, a);
  EXPECT_EQ(root->get_accChild(children[1].childId), b);
  EXPECT_EQ(root->get_accChild(children[2].childId), nullptr);
  EXPECT_EQ(QueryAccessible(children[3].object), nullptr);

  EXPECT_EQ(AccessibleChildren(*root, 2, 5, children), HResult::S_FALSE);
  EXPECT_EQ(children.size(), 2u);
  root->failing.push_back("Children");
  EXPECT_EQ(AccessibleChildren(*root, 0, 4, children), HResult::E_FAIL);
}

TEST_F(WindowTreeTest, ElementMembersFailOnRequest) {
  Element e(u"Input");
  e.put_accValue(CHILDID_SELF, u"v");
  EXPECT_EQ(e.get_accValue(CHILDID_SELF), u"v");
  EXPECT_THROW(e.get_accName(3), EAccessibilityError);
  e.failing.push_back("accDoDefaultAction");
  EXPECT_THROW(e.accDoDefaultAction(CHILDID_SELF), EAccessibilityError);
  EXPECT_EQ(e.actions, 0);
}
