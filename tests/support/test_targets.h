// The output targets the tests stand up: running Office applications
// (in-process) and a chat window in the window tree.
#pragma once

#include <memory>
#include <string>
#include <type_traits>
#include <vector>

#include "accessibility.h"
#include "inprocess.h"

// A new in-process Word, Workbook or Presentation registered as running.
template <class App>
std::shared_ptr<App> Running() {
  using namespace automation;
  auto app = std::make_shared<App>();
  if constexpr (std::is_base_of_v<WordApplication, App>) RegisterRunning<WordApplication>(app);
  else if constexpr (std::is_base_of_v<ExcelApplication, App>) RegisterRunning<ExcelApplication>(app);
  else RegisterRunning<PowerPointApplication>(app);
  return app;
}

// A chat window as the messenger shows it: a content area holding the four
// controls in `order`, and a top child. Send moves the input into the history.
struct Chat {
  explicit Chat(const std::vector<std::u16string>& order = {u"History", u"Input", u"Font", u"Send button"}) {
    auto& tree = accessibility::WindowTree::Instance();
    window = tree.Create(0, u"IMWindowClass");
    content = tree.Create(window, u"DirectUIHWND");
    tree.Create(window, u"TopChild");
    tree.SetClientObject(content, root);
    send->defaultAction = [this] {
      history->value += input->value + u"\n";
      input->value.clear();
    };
    for (const auto& name : order)
      for (const auto& e : {input, font, history, send})
        if (e->get_accName(accessibility::CHILDID_SELF) == name) root->AddChild(e);
  }
  accessibility::HWND window, content;
  using Element = accessibility::Element;
  std::shared_ptr<Element> root = std::make_shared<Element>(u"content");
  std::shared_ptr<Element> input = std::make_shared<Element>(u"Input");
  std::shared_ptr<Element> font = std::make_shared<Element>(u"Font");
  std::shared_ptr<Element> history = std::make_shared<Element>(u"History");
  std::shared_ptr<Element> send = std::make_shared<Element>(u"Send button");
};
