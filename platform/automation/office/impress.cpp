// Impress in PowerPoint's place. The selected text is, in the Impress
// document the user works in:
// - in a text box being edited, the text selected there (at the caret: none);
// - for a shape selected but not being edited, its whole text, as
//   PowerPoint gives for a selected shape.
//
// A text box being edited keeps its text in the view until the user leaves
// it: the box's own text, and the ranges the view hands out, are written
// over then. That text is reached through the view's accessible paragraphs
// of the box, which edit it in place, at the caret.
//
// PowerPoint's selected text range covers the text just written to it, so
// the font set next applies to that text. Impress's view keeps its own
// selection, so the font goes to the text last written through this
// connection, until the selected text is read again.
#include "office_servers.h"
#include "texts.h"

#include <com/sun/star/accessibility/AccessibleRole.hpp>
#include <com/sun/star/accessibility/XAccessible.hpp>
#include <com/sun/star/accessibility/XAccessibleContext.hpp>
#include <com/sun/star/accessibility/XAccessibleEditableText.hpp>
#include <com/sun/star/accessibility/XAccessibleText.hpp>
#include <com/sun/star/awt/XWindow.hpp>
#include <com/sun/star/beans/XMultiPropertySet.hpp>
#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/frame/XFrame.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextCursor.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

#include <optional>

namespace automation::office {

namespace {

namespace a11y = css::accessibility;
using a11y::AccessibleRole::DOCUMENT_PRESENTATION;
using a11y::AccessibleRole::PARAGRAPH;
using a11y::AccessibleRole::SHAPE;
using a11y::XAccessibleContext;
using css::text::XTextRange;
using rtl::OUString;

constexpr char kImpressDocument[] = "com.sun.star.presentation.PresentationDocument";
constexpr char kNothingSelected[] =
    "Selection (unknown member) : Invalid request.  Nothing appropriate is currently selected.";

// --- the text box being edited -------------------------------------------------

// A stretch of the edited box's text: from character `start` of paragraph
// `first` to character `end` of paragraph `last` (paragraphs count from 0).
struct Span {
  sal_Int32 first = 0, start = 0, last = 0, end = 0;
};

// The box being edited, through the view's accessible objects: `box` is
// the box's accessible, its children the paragraphs. Call inside
// Connection::Call.
struct EditedBox {
  Reference<XAccessibleContext> box;
  Span selection;

  Reference<a11y::XAccessibleEditableText> Paragraph(sal_Int32 i) const {
    return Reference<a11y::XAccessibleEditableText>(box->getAccessibleChild(i)->getAccessibleContext(),
                                                    css::uno::UNO_QUERY_THROW);
  }

  OUString Text(const Span& span) const {
    OUString text;
    for (sal_Int32 i = span.first; i <= span.last; ++i) {
      auto paragraph = Paragraph(i);
      const sal_Int32 from = i == span.first ? span.start : 0;
      const sal_Int32 to = i == span.last ? span.end : paragraph->getCharacterCount();
      if (i > span.first) text += "\n";
      text += paragraph->getTextRange(from, to);
    }
    return text;
  }

  // Puts `lines` in place of `span`, which lies in one paragraph, a
  // paragraph break between two; returns the span they cover now.
  Span Replace(const Span& span, const std::vector<std::u16string>& lines) const {
    if (span.first != span.last) throw EOleError("Invalid request.  The selection spans paragraphs.");
    auto paragraph = Paragraph(span.first);
    paragraph->replaceText(span.start, span.end, ToOUString(Join(lines, u'\n')));
    Connection::Landed();
    const auto added = static_cast<sal_Int32>(lines.size() - 1);
    // The view's accessible objects take in new paragraphs when the caret moves.
    if (added > 0) Reference<a11y::XAccessibleText>(paragraph, css::uno::UNO_QUERY_THROW)->setCaretPosition(span.start);
    const auto tail = static_cast<sal_Int32>(lines.back().size());
    return {span.first, span.start, span.first + added, added == 0 ? span.start + tail : tail};
  }

  void Style(const Span& span, const css::uno::Sequence<css::beans::PropertyValue>& properties) const {
    for (sal_Int32 i = span.first; i <= span.last; ++i) {
      auto paragraph = Paragraph(i);
      const sal_Int32 from = i == span.first ? span.start : 0;
      const sal_Int32 to = i == span.last ? span.end : paragraph->getCharacterCount();
      if (to > from) paragraph->setAttributes(from, to, properties);
    }
  }

  void PutCaret(sal_Int32 paragraph, sal_Int32 at) const { Paragraph(paragraph)->setCaretPosition(at); }
};

std::optional<EditedBox> EditedIn(const Reference<XAccessibleContext>& shape) {
  std::optional<EditedBox> edited;
  const sal_Int32 children = shape->getAccessibleChildCount();
  for (sal_Int32 i = 0; i < children; ++i) {
    Reference<XAccessibleContext> child = shape->getAccessibleChild(i)->getAccessibleContext();
    if (!child.is()) continue;
    if (child->getAccessibleRole() == SHAPE) {  // in a group
      if (auto inner = EditedIn(child)) return inner;
      continue;
    }
    Reference<a11y::XAccessibleText> paragraph(child, css::uno::UNO_QUERY);
    if (child->getAccessibleRole() != PARAGRAPH || !paragraph.is()) continue;
    // Only the paragraphs of the box being edited have a caret or a
    // selection; the selection may run over several of them. Its ends come
    // in the order it was made in: a selection made backwards starts where
    // it ends.
    const sal_Int32 start = paragraph->getSelectionStart(), end = paragraph->getSelectionEnd();
    if (start < 0 && paragraph->getCaretPosition() < 0) continue;
    const sal_Int32 from = std::max<sal_Int32>(std::min(start, end), 0), to = std::max<sal_Int32>(std::max(start, end), 0);
    if (!edited) edited = EditedBox{shape, {i, from, i, to}};
    edited->selection.last = i;
    edited->selection.end = to;
  }
  return edited;
}

// The text box being edited in the controller's view, if any.
std::optional<EditedBox> FindEdited(const Reference<css::frame::XController>& controller) {
  Reference<a11y::XAccessible> window(controller->getFrame()->getComponentWindow(), css::uno::UNO_QUERY);
  if (!window.is()) return {};
  // The slide's view lies a few panes down from the document's window.
  Reference<XAccessibleContext> view = window->getAccessibleContext();
  for (int depth = 0; view.is() && view->getAccessibleRole() != DOCUMENT_PRESENTATION; ++depth) {
    Reference<XAccessibleContext> next;
    for (sal_Int32 i = 0, n = view->getAccessibleChildCount(); depth < 6 && i < n && !next.is(); ++i) {
      Reference<XAccessibleContext> child = view->getAccessibleChild(i)->getAccessibleContext();
      if (!child.is()) continue;
      const sal_Int16 role = child->getAccessibleRole();
      if (role == DOCUMENT_PRESENTATION || role == a11y::AccessibleRole::PANEL ||
          role == a11y::AccessibleRole::SCROLL_PANE)
        next = child;
    }
    view = next;
  }
  if (!view.is()) return {};
  for (sal_Int32 i = 0, n = view->getAccessibleChildCount(); i < n; ++i) {
    Reference<XAccessibleContext> shape = view->getAccessibleChild(i)->getAccessibleContext();
    if (shape.is() && shape->getAccessibleRole() == SHAPE)
      if (auto edited = EditedIn(shape)) return edited;
  }
  return {};
}

// --- the selected text -----------------------------------------------------------

// What the selected text is: the box being edited, or a selected shape's text.
struct Selected {
  std::optional<EditedBox> edited;
  Reference<XTextRange> shapeText;
};

Selected FindSelected(const Reference<css::frame::XController>& controller) {
  Reference<css::view::XSelectionSupplier> view(controller, css::uno::UNO_QUERY_THROW);
  Reference<css::uno::XInterface> selected(view->getSelection(), css::uno::UNO_QUERY);
  Reference<css::container::XIndexAccess> shapes(selected, css::uno::UNO_QUERY);
  // A box being edited shows as a text selection, or (at a caret) as its shape.
  if (Reference<XTextRange>(selected, css::uno::UNO_QUERY).is() || (shapes.is() && shapes->getCount() == 1)) {
    if (auto edited = FindEdited(controller)) return {std::move(edited), nullptr};
  }
  // Text written through the view's range of a box being edited would be lost.
  if (Reference<XTextRange>(selected, css::uno::UNO_QUERY).is()) throw EOleError(kNothingSelected);
  if (shapes.is())
    for (sal_Int32 i = 0; i < shapes->getCount(); ++i)
      if (Reference<css::text::XText> text(shapes->getByIndex(i), css::uno::UNO_QUERY); text.is())
        return {std::nullopt, text.get()};
  throw EOleError(kNothingSelected);
}

// What the text written last covers now; empty once the selection was read.
struct Written {
  Reference<XTextRange> shapeText;
  std::optional<Span> span;
};

class ImpressFont : public Font {
 public:
  // Sets the face or size on what `style` styles (inside Connection::Call).
  using Styler = std::function<void(const css::uno::Sequence<css::beans::PropertyValue>&)>;
  ImpressFont(std::shared_ptr<Connection> office, Styler style) : office_(std::move(office)), style_(std::move(style)) {}
  void SetName(const std::u16string& name) override {
    office_->Call([style = style_, properties = StyleProperties(name, std::nullopt)] { style(properties); });
  }
  void SetSize(float points) override {
    if (!IsSize(points)) throw EOleError("The requested member of the collection does not exist.");
    office_->Call([style = style_, properties = SizeProperties(points)] { style(properties); });
  }

 private:
  std::shared_ptr<Connection> office_;
  Styler style_;
};

class ImpressTextRange : public PowerPointTextRange {
 public:
  ImpressTextRange(std::shared_ptr<Connection> office, Selected selected, std::shared_ptr<Written> written)
      : office_(std::move(office)), selected_(std::move(selected)), written_(std::move(written)) {}

  std::u16string Text() override {
    *written_ = {};
    return office_->Call([selected = selected_] {
      return ToU16(selected.edited ? selected.edited->Text(selected.edited->selection) : selected.shapeText->getString());
    });
  }

  void SetText(const std::u16string& text) override {
    *written_ = office_->Call([selected = selected_, lines = Lines(text)] {
      Connection::GoOn();
      if (selected.edited) return Written{nullptr, selected.edited->Replace(selected.edited->selection, lines)};
      selected.shapeText->setString(ToOUString(Join(lines, u'\n')));
      return Written{selected.shapeText, std::nullopt};
    });
  }

  std::shared_ptr<Font> GetFont() override {
    return std::make_shared<ImpressFont>(office_, [selected = selected_, written = *written_](const auto& properties) {
      Connection::GoOn();
      if (selected.edited) {
        selected.edited->Style(written.span.value_or(selected.edited->selection), properties);
      } else {
        Reference<css::beans::XMultiPropertySet> text(written.shapeText.is() ? written.shapeText : selected.shapeText,
                                                      css::uno::UNO_QUERY_THROW);
        SetAll(text, properties);
      }
    });
  }

  bool AppendStyled(const TypedText& styled) override {
    const bool sized = styled.points && IsSize(*styled.points);
    auto step = [selected = selected_,
                 properties = StyleProperties(styled.face, sized ? styled.points : std::nullopt)](
                    const std::u16string& rest) {
      const auto lines = Lines(rest);
      if (selected.edited) {
        // The text goes after the selected text, and both take the face
        // and size; the caret ends after the text, as after typing it.
        const EditedBox& box = *selected.edited;
        const Span& s = box.selection;
        Connection::GoOn();
        Connection::Sending();
        const Span typed = box.Replace({s.last, s.end, s.last, s.end}, lines);
        Connection::GoOn();
        box.Style({s.first, s.start, typed.last, typed.end}, properties);
        Connection::GoOn();
        box.PutCaret(typed.last, typed.end);
        return;
      }
      // The shape's text with the text at its end, all in the face and size.
      Reference<css::text::XText> text = selected.shapeText->getText();
      Reference<css::text::XTextCursor> end = text->createTextCursorByRange(text->getEnd());
      Connection::GoOn();
      Connection::Sending();
      text->insertString(end.get(), ToOUString(Join(lines, u'\n')), false);
      Connection::Landed();
      SetAll(Reference<css::beans::XMultiPropertySet>(selected.shapeText, css::uno::UNO_QUERY_THROW), properties);
    };
    office_->Type(Delivery::Kind::Impress, styled.text, std::move(step));
    if (styled.points && !sized) throw EOleError("The requested member of the collection does not exist.");
    return true;
  }

 private:
  std::shared_ptr<Connection> office_;
  Selected selected_;
  std::shared_ptr<Written> written_;
};

class ImpressSelection : public PowerPointSelection {
 public:
  ImpressSelection(std::shared_ptr<Connection> office, Reference<css::frame::XController> view,
                   std::shared_ptr<Written> written)
      : office_(std::move(office)), view_(std::move(view)), written_(std::move(written)) {}
  std::shared_ptr<PowerPointTextRange> TextRange() override {
    return std::make_shared<ImpressTextRange>(office_, office_->Call([view = view_] { return FindSelected(view); }),
                                              written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::frame::XController> view_;
  std::shared_ptr<Written> written_;
};

class ImpressWindow : public PowerPointWindow {
 public:
  ImpressWindow(std::shared_ptr<Connection> office, Reference<css::frame::XController> view,
                std::shared_ptr<Written> written)
      : office_(std::move(office)), view_(std::move(view)), written_(std::move(written)) {}
  std::shared_ptr<PowerPointSelection> Selection() override {
    return std::make_shared<ImpressSelection>(office_, view_, written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::frame::XController> view_;
  std::shared_ptr<Written> written_;
};

class ImpressApplication : public PowerPointApplication {
 public:
  explicit ImpressApplication(std::shared_ptr<Connection> office) : office_(std::move(office)) {}
  std::shared_ptr<PowerPointWindow> ActiveWindow() override {
    return std::make_shared<ImpressWindow>(office_, office_->Call([office = office_] {
      auto document = FindDocument(*office, kImpressDocument);
      if (!document.is()) throw EOleError("There is no currently active document window.");
      return document->getCurrentController();
    }), written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  std::shared_ptr<Written> written_ = std::make_shared<Written>();
};

}  // namespace

std::shared_ptr<PowerPointApplication> OpenImpress(std::shared_ptr<Connection> office) {
  return std::make_shared<ImpressApplication>(std::move(office));
}

}  // namespace automation::office
