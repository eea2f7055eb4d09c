// Calc in Excel's place: the active cell is the selected cell of the Calc
// document the user works in (the top left cell of a selected range, of the
// first range when several are selected). Its value is read as Excel gives
// it (empty, a number, text, or an error for a formula that failed) and
// written as if typed in, so text that reads as a number or formula becomes
// one, as it does in Excel; lines within a cell are separated by LF.
#include "office_servers.h"
#include "texts.h"

#include <com/sun/star/container/XIndexAccess.hpp>
#include <com/sun/star/frame/XController.hpp>
#include <com/sun/star/sheet/FormulaResult.hpp>
#include <com/sun/star/sheet/XSpreadsheet.hpp>
#include <com/sun/star/sheet/XSpreadsheetView.hpp>
#include <com/sun/star/text/XTextRange.hpp>
#include <com/sun/star/table/CellAddress.hpp>
#include <com/sun/star/table/CellContentType.hpp>
#include <com/sun/star/table/CellRangeAddress.hpp>
#include <com/sun/star/sheet/XCellAddressable.hpp>
#include <com/sun/star/sheet/XCellRangeAddressable.hpp>
#include <com/sun/star/table/XCell.hpp>
#include <com/sun/star/table/XCellRange.hpp>
#include <com/sun/star/view/XSelectionSupplier.hpp>

namespace automation::office {

namespace {

using css::table::XCell;
using css::table::XCellRange;

constexpr char kCalcDocument[] = "com.sun.star.sheet.SpreadsheetDocument";

// A cell and the view it was found in; `column` and `row` count from 0.
struct Place {
  Reference<css::view::XSelectionSupplier> view;
  Reference<XCellRange> sheet;
  sal_Int32 column = 0, row = 0;
};

Place ActivePlace(Connection& office) {
  auto document = FindDocument(office, kCalcDocument);
  if (!document.is()) throw EOleError("No workbook is open.");
  Reference<css::view::XSelectionSupplier> view(document->getCurrentController(), css::uno::UNO_QUERY_THROW);
  Reference<css::uno::XInterface> selected(view->getSelection(), css::uno::UNO_QUERY);
  if (Reference<css::container::XIndexAccess> ranges(selected, css::uno::UNO_QUERY);
      ranges.is() && !Reference<XCellRange>(selected, css::uno::UNO_QUERY).is() && ranges->getCount() > 0)
    selected.set(ranges->getByIndex(0), css::uno::UNO_QUERY);
  Reference<css::sheet::XCellRangeAddressable> range(selected, css::uno::UNO_QUERY);
  if (!range.is()) throw EOleError("No cell is selected.");
  const css::table::CellRangeAddress address = range->getRangeAddress();
  Reference<css::sheet::XSpreadsheetView> sheets(view, css::uno::UNO_QUERY_THROW);
  return {view, Reference<XCellRange>(sheets->getActiveSheet(), css::uno::UNO_QUERY_THROW), address.StartColumn,
          address.StartRow};
}

// The cell at a place and the place of the next cell, the cell's value as
// Excel gives it, and a value written as typed in.
Reference<XCell> CellAt(const Place& place) { return place.sheet->getCellByPosition(place.column, place.row); }
Place NextOf(const Place& place) { return {place.view, place.sheet, place.column + 1, place.row}; }

Variant Read(XCell& cell) {
  Reference<css::text::XTextRange> text(&cell, css::uno::UNO_QUERY_THROW);
  switch (cell.getType()) {
    case css::table::CellContentType_EMPTY:
      return {};
    case css::table::CellContentType_VALUE:
      return Variant::FromDouble(cell.getValue());
    case css::table::CellContentType_TEXT:
      return Variant::FromText(ToU16(text->getString()));
    default: {
      if (cell.getError() != 0) return Variant::Of(Variant::Kind::Error, cell.getError());
      Reference<css::beans::XPropertySet> props(&cell, css::uno::UNO_QUERY_THROW);
      const sal_Int32 result = props->getPropertyValue("FormulaResultType2").get<sal_Int32>();
      if (result == css::sheet::FormulaResult::VALUE) return Variant::FromDouble(cell.getValue());
      return Variant::FromText(ToU16(text->getString()));
    }
  }
}

void Write(XCell& cell, const Variant& v) {
  using K = Variant::Kind;
  switch (v.kind) {
    case K::Empty:
      cell.setFormula("");
      return;
    case K::Text:
      cell.setFormula(ToOUString(Join(Lines(v.text), u'\n')));
      return;
    case K::Error:
    case K::Dispatch:
      throw EOleError("Type mismatch");
    default:
      cell.setValue(v.number);
  }
}

class CellFont : public IDispatch {
 public:
  CellFont(std::shared_ptr<Connection> office, Reference<css::beans::XPropertySet> cell)
      : office_(std::move(office)), cell_(std::move(cell)) {}
  Variant Invoke(int id, InvokeKind kind, const std::vector<Variant>& args) override {
    if (kind != InvokeKind::PropertyPut || args.size() != 1) throw EOleError("Member not found.");
    const Variant& v = args[0];
    if (id == dispid::Name) {
      if (v.kind != Variant::Kind::Text) throw EOleError("Type mismatch");
      office_->Call([cell = cell_, face = v.text] { SetFace(cell, face); });
    } else if (id == dispid::Size) {
      const float points = static_cast<float>(VarAdd(v, Variant::FromInt(0)).number);
      office_->Call([cell = cell_, points] { SetSize(cell, points); });
    } else {
      throw EOleError("Member not found.");
    }
    return {};
  }

 private:
  std::shared_ptr<Connection> office_;
  Reference<css::beans::XPropertySet> cell_;
};

class CalcCell : public IDispatch {
 public:
  CalcCell(std::shared_ptr<Connection> office, Place place) : office_(std::move(office)), place_(std::move(place)) {}

  Variant Invoke(int id, InvokeKind kind, const std::vector<Variant>& args) override {
    switch (id) {
      case dispid::Value:
        if (kind == InvokeKind::PropertyGet) return office_->Call([place = place_] { return Read(*CellAt(place)); });
        if (kind == InvokeKind::PropertyPut && args.size() == 1) {
          office_->Call([place = place_, value = args[0]] { Write(*CellAt(place), value); });
          return {};
        }
        break;
      case dispid::Font:
        if (kind != InvokeKind::PropertyGet) break;
        return Variant::FromDispatch(std::make_shared<CellFont>(
            office_, office_->Call([place = place_] {
              return Reference<css::beans::XPropertySet>(CellAt(place), css::uno::UNO_QUERY_THROW);
            })));
      case dispid::Next:
        if (kind != InvokeKind::PropertyGet) break;
        return Variant::FromDispatch(
            std::make_shared<CalcCell>(office_, NextOf(place_)));
      case dispid::Select:
        if (kind != InvokeKind::Method) break;
        office_->Call([place = place_] { place.view->select(css::uno::Any(CellAt(place))); });
        return Variant::FromBool(true);
      default:
        break;
    }
    throw EOleError("Member not found.");
  }

 private:
  std::shared_ptr<Connection> office_;
  Place place_;
};

class CalcApplication : public ExcelApplication {
 public:
  explicit CalcApplication(std::shared_ptr<Connection> office) : office_(std::move(office)) {}
  std::shared_ptr<IDispatch> ActiveCell() override {
    return std::make_shared<CalcCell>(office_, office_->Call([office = office_] { return ActivePlace(*office); }));
  }

  bool TypeStyled(const TypedText& styled, bool selectNext) override {
    const bool sized = styled.points && IsSize(*styled.points);
    auto step = [office = office_, moveOn = selectNext && sized,
                 properties = StyleProperties(styled.face, sized ? styled.points : std::nullopt)](
                    const std::u16string& rest) {
      const Place place = ActivePlace(*office);
      const Reference<XCell> cell = CellAt(place);
      const Variant value = VarAdd(Read(*cell), Variant::FromText(rest));
      Connection::GoOn();
      Connection::Sending();
      Write(*cell, value);
      Connection::Landed();
      SetAll(Reference<css::beans::XMultiPropertySet>(cell, css::uno::UNO_QUERY_THROW), properties);
      if (moveOn) place.view->select(css::uno::Any(CellAt(NextOf(place))));
    };
    office_->Type(Delivery::Kind::Calc, styled.text, std::move(step));
    if (styled.points && !sized) throw EOleError("The requested member of the collection does not exist.");
    return true;
  }

 private:
  std::shared_ptr<Connection> office_;
};

}  // namespace

std::shared_ptr<ExcelApplication> OpenCalc(std::shared_ptr<Connection> office) {
  return std::make_shared<CalcApplication>(std::move(office));
}

}  // namespace automation::office
