// The editor's commands that work on the grid as a whole: Smart Map, the
// cell menu and its commands, new and copied maps, the HTML chart.
// Placeholders until their own files take them over.
#include "uFrmFontMapping.h"

void TfrmFontMapping::CreateCellMenu() {}
void TfrmFontMapping::btnSmartMapClick() {}
void TfrmFontMapping::mnuToolsPopup() {}
void TfrmFontMapping::CopyContent1Click() {}
void TfrmFontMapping::PasteContent1Click() {}
void TfrmFontMapping::CopyPattern1Click() {}
void TfrmFontMapping::PastePattern1Click() {}
void TfrmFontMapping::miClearCellClick() {}
void TfrmFontMapping::ClearColumn1Click() {}
void TfrmFontMapping::ClearRow1Click() {}
void TfrmFontMapping::ClearContenttoright1Click() {}
void TfrmFontMapping::InsertCell1Click() {}
void TfrmFontMapping::InsertColumnRight1Click() {}
void TfrmFontMapping::InsertRow1Click() {}
void TfrmFontMapping::DeleteCell1Click() {}
void TfrmFontMapping::DeleteColumn1Click() {}
void TfrmFontMapping::DeleteRow1Click() {}
void TfrmFontMapping::chkAutoUpdateClick() {}
void TfrmFontMapping::chkAutoLocateClick() {}
void TfrmFontMapping::Edit1KeyUp(int) {}
void TfrmFontMapping::ToolButton4Click() {}
void TfrmFontMapping::ToolButton5Click() {}
void TfrmFontMapping::ToolButton6Click() {}
