// The editor's commands that work on the grid as a whole: Smart Map, the
// cell menu and its commands, the Auto Update and Auto Locate switches, new
// and copied maps, the HTML chart. The rules live in CellCommands,
// SmartMap, NewMap and HtmlChart; these handlers read the form and call them.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QRadioButton>
#include <exception>

#include "CellCommands.h"
#include "CharView.h"
#include "HtmlChart.h"
#include "NewMap.h"
#include "SmartMap.h"
#include "dialogs.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

namespace {

// What a command could not write goes to the default error box.
template <class Command>
void Reporting(Command command) {
  try {
    command();
  } catch (const std::exception& e) {
    dialogs::ShowError(QString::fromStdString(e.what()));
  }
}

}  // namespace

// --- Smart Map ------------------------------------------------------------------

void TfrmFontMapping::btnSmartMapClick() {
  const smartmap::Range range = rdbAutoAllRows->isChecked()          ? smartmap::Range::AllRows
                                : rdbAutoSelectedColumn->isChecked() ? smartmap::Range::SelectedColumn
                                                                     : smartmap::Range::SelectedRow;
  smartmap::Run(this, *this, range);
}

// --- the cell menu ----------------------------------------------------------------

void TfrmFontMapping::CreateCellMenu() {
  FCellMenu = std::make_unique<cellcommands::TCellMenu>(mnuTools);
  const auto bind = [this](QAction* item, void (TfrmFontMapping::*handler)()) {
    connect(item, &QAction::triggered, this, [this, handler] { (this->*handler)(); });
  };
  const cellcommands::TCellMenu& m = *FCellMenu;
  bind(m.CopyContent1, &TfrmFontMapping::CopyContent1Click);
  bind(m.PasteContent1, &TfrmFontMapping::PasteContent1Click);
  bind(m.CopyPattern1, &TfrmFontMapping::CopyPattern1Click);
  bind(m.PastePattern1, &TfrmFontMapping::PastePattern1Click);
  bind(m.miClearCell, &TfrmFontMapping::miClearCellClick);
  bind(m.ClearColumn1, &TfrmFontMapping::ClearColumn1Click);
  bind(m.ClearRow1, &TfrmFontMapping::ClearRow1Click);
  bind(m.ClearContenttoright1, &TfrmFontMapping::ClearContenttoright1Click);
  bind(m.InsertCell1, &TfrmFontMapping::InsertCell1Click);
  bind(m.InsertColumnRight1, &TfrmFontMapping::InsertColumnRight1Click);
  bind(m.InsertRow1, &TfrmFontMapping::InsertRow1Click);
  bind(m.DeleteCell1, &TfrmFontMapping::DeleteCell1Click);
  bind(m.DeleteColumn1, &TfrmFontMapping::DeleteColumn1Click);
  bind(m.DeleteRow1, &TfrmFontMapping::DeleteRow1Click);
}

void TfrmFontMapping::mnuToolsPopup() { FCellMenu->EnableItems(FSelected != nullptr, FClipMode); }

void TfrmFontMapping::CopyContent1Click() {
  if (!FSelected) return;
  FClipRow = FSelected->RowIndex;
  FClipCol = FSelected->ColumnIndex;
  FClipMode = cellcommands::kClipContent;
}

void TfrmFontMapping::CopyPattern1Click() {
  if (!FSelected) return;
  FClipRow = FSelected->RowIndex;
  FClipCol = FSelected->ColumnIndex;
  FClipMode = cellcommands::kClipPattern;
}

void TfrmFontMapping::PasteContent1Click() {
  if (FClipMode == cellcommands::kClipContent && cellcommands::PasteContent(*this, FClipRow, FClipCol))
    SelectCell(FSelected, true);
}

void TfrmFontMapping::PastePattern1Click() {
  if (FClipMode == cellcommands::kClipPattern && cellcommands::PastePattern(*this, FClipRow, FClipCol))
    SelectCell(FSelected, true);
}

void TfrmFontMapping::miClearCellClick() { cellcommands::ClearCell(*this); }
void TfrmFontMapping::ClearColumn1Click() { cellcommands::ClearColumn(*this); }
void TfrmFontMapping::ClearRow1Click() { cellcommands::ClearRow(*this); }
void TfrmFontMapping::ClearContenttoright1Click() { cellcommands::ClearToBottomRight(*this); }
void TfrmFontMapping::InsertCell1Click() { cellcommands::InsertCellAfter(*this); }
void TfrmFontMapping::InsertColumnRight1Click() { cellcommands::InsertColumnRight(*this); }
void TfrmFontMapping::InsertRow1Click() { cellcommands::InsertRowBelow(*this); }
void TfrmFontMapping::DeleteCell1Click() { cellcommands::DeleteCell(*this); }
void TfrmFontMapping::DeleteColumn1Click() { cellcommands::DeleteColumn(*this); }
void TfrmFontMapping::DeleteRow1Click() { cellcommands::DeleteRow(*this); }

// --- Auto Update and Auto Locate ------------------------------------------------

void TfrmFontMapping::chkAutoUpdateClick() {
  if (chkAutoUpdate->isChecked()) chkAutoLocate->setChecked(false);
}

void TfrmFontMapping::chkAutoLocateClick() {
  if (chkAutoLocate->isChecked()) chkAutoUpdate->setChecked(false);
}

void TfrmFontMapping::Edit1KeyUp(int) {
  if (chkAutoUpdate->isChecked()) btnUpdateClick();
}

// --- new and copied maps --------------------------------------------------------

void TfrmFontMapping::ToolButton4Click() {
  const QString name = newmap::AskNewMapName(this, TfrmMainBase::GetAppFolder(), newmap::NewMapQuery());
  if (name.isEmpty()) return;
  Reporting([&] {
    WriteWhole(newmap::MapPath(TfrmMainBase::GetAppFolder(), name), newmap::NewMapBytes());
    LoadMap(name);
  });
}

void TfrmFontMapping::ToolButton5Click() {
  const QString name = newmap::AskNewMapName(this, TfrmMainBase::GetAppFolder(), newmap::CopyMapQuery());
  if (name.isEmpty()) return;
  Reporting([&] {
    if (!SaveMap(name)) return;
    // The list offers the copy but keeps showing the name Save writes to, so
    // that the grid is never saved under another map's name.
    const QString shown = cmbMaps->currentText();
    FOwner->FillMapList(cmbMaps, QString(), ".fmp");
    const QSignalBlocker quiet(cmbMaps);
    cmbMaps->setCurrentIndex(cmbMaps->findText(shown));
  });
}

// --- the HTML chart -------------------------------------------------------------

void TfrmFontMapping::ToolButton6Click() {
  const QString face = FMap ? QString::fromStdU16String(FMap->FontName) : QString();
  Reporting([&] { htmlchart::Export(this, SaveDialog1, *this, face); });
}
