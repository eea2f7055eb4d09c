// Impress in PowerPoint's place: the selected text is the text selected in
// the text box being edited in the Impress document the user works in; when
// a shape is selected but not being edited, its whole text, as PowerPoint
// gives for a selected shape.
//
// PowerPoint's selected text range covers the text just written to it, so
// the font set next applies to that text. Impress's view keeps its own
// selection in a text box being edited, so the font goes to the text last
// written through this connection, until the selected text is read again.
#include "office_servers.h"
#include "texts.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/text/XText.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

namespace automation::office {

namespace {

using css::text::XTextRange;

constexpr char kImpressDocument[] = "com.sun.star.presentation.PresentationDocument";

Reference<XTextRange> SelectedText(const Reference<css::view::XSelectionSupplier>& view) {
  Reference<css::uno::XInterface> selected(view->getSelection(), css::uno::UNO_QUERY);
  if (Reference<XTextRange> text(selected, css::uno::UNO_QUERY); text.is()) return text;
  if (Reference<css::container::XIndexAccess> shapes(selected, css::uno::UNO_QUERY); shapes.is())
    for (sal_Int32 i = 0; i < shapes->getCount(); ++i)
      if (Reference<css::text::XText> text(shapes->getByIndex(i), css::uno::UNO_QUERY); text.is()) return text.get();
  throw EOleError("Selection (unknown member) : Invalid request.  Nothing appropriate is currently selected.");
}

// What the text written last covers now; empty once the selection was read.
using Written = std::shared_ptr<Reference<XTextRange>>;

class ImpressTextRange : public PowerPointTextRange {
 public:
  ImpressTextRange(std::shared_ptr<Connection> office, Reference<XTextRange> text, Written written)
      : office_(std::move(office)), text_(std::move(text)), written_(std::move(written)) {}
  std::u16string Text() override {
    written_->clear();
    return office_->Call([range = text_] { return ToU16(range->getString()); });
  }
  void SetText(const std::u16string& text) override {
    office_->Call([range = text_, value = ToOUString(text)] { range->setString(value); });
    *written_ = text_;
  }
  std::shared_ptr<Font> GetFont() override;

 private:
  std::shared_ptr<Connection> office_;
  Reference<XTextRange> text_;
  Written written_;
};

class ImpressFont : public Font {
 public:
  ImpressFont(std::shared_ptr<Connection> office, Reference<css::beans::XPropertySet> text)
      : office_(std::move(office)), text_(std::move(text)) {}
  void SetName(const std::u16string& name) override {
    office_->Call([text = text_, name] { SetFace(text, name); });
  }
  void SetSize(float points) override {
    office_->Call([text = text_, points] { office::SetSize(text, points); });
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::beans::XPropertySet> text_;
};

std::shared_ptr<Font> ImpressTextRange::GetFont() {
  const Reference<XTextRange> text = written_->is() ? *written_ : text_;
  return std::make_shared<ImpressFont>(
      office_, office_->Call([text] { return Reference<css::beans::XPropertySet>(text, css::uno::UNO_QUERY_THROW); }));
}

class ImpressSelection : public PowerPointSelection {
 public:
  ImpressSelection(std::shared_ptr<Connection> office, Reference<css::view::XSelectionSupplier> view, Written written)
      : office_(std::move(office)), view_(std::move(view)), written_(std::move(written)) {}
  std::shared_ptr<PowerPointTextRange> TextRange() override {
    return std::make_shared<ImpressTextRange>(office_, office_->Call([view = view_] { return SelectedText(view); }), written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::view::XSelectionSupplier> view_;
  Written written_;
};

class ImpressWindow : public PowerPointWindow {
 public:
  ImpressWindow(std::shared_ptr<Connection> office, Reference<css::view::XSelectionSupplier> view, Written written)
      : office_(std::move(office)), view_(std::move(view)), written_(std::move(written)) {}
  std::shared_ptr<PowerPointSelection> Selection() override {
    return std::make_shared<ImpressSelection>(office_, view_, written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::view::XSelectionSupplier> view_;
  Written written_;
};

class ImpressApplication : public PowerPointApplication {
 public:
  explicit ImpressApplication(std::shared_ptr<Connection> office) : office_(std::move(office)) {}
  std::shared_ptr<PowerPointWindow> ActiveWindow() override {
    return std::make_shared<ImpressWindow>(office_, office_->Call([office = office_] {
      auto document = FindDocument(*office, kImpressDocument);
      if (!document.is()) throw EOleError("There is no currently active document window.");
      return Reference<css::view::XSelectionSupplier>(document->getCurrentController(), css::uno::UNO_QUERY_THROW);
    }), written_);
  }

 private:
  std::shared_ptr<Connection> office_;
  Written written_ = std::make_shared<Reference<XTextRange>>();
};

}  // namespace

std::shared_ptr<PowerPointApplication> OpenImpress(std::shared_ptr<Connection> office) {
  return std::make_shared<ImpressApplication>(std::move(office));
}

}  // namespace automation::office
