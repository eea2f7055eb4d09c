// Exports the HTML chart of a map as the editor does, from the editor
// opened on that map:  map_chart program-folder map-name chart.htm
// Used by scripts/chart-picture.sh to render the default map's chart.
#include <QApplication>
#include <QFileInfo>
#include <cstdio>
#include <exception>

#include "dialogs.h"
#include "uFrmFontMapping.h"
#include "uFrmMainBase.h"

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  if (argc != 4) {
    std::fprintf(stderr, "usage: map_chart program-folder map-name chart.htm\n");
    return 2;
  }
  // The save dialog answers with the chart's name; any message is refused.
  dialogs::Script script;
  script.saveNames.push_back(QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath());
  try {
    TfrmMainBase::SetAppFolder(QString::fromLocal8Bit(argv[1]));
    TfrmMainBase owner;
    TfrmFontMapping editor(&owner);
    editor.LoadMap(QString::fromLocal8Bit(argv[2]));
    editor.ToolButton6Click();
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  for (const QString& message : script.messages()) std::fprintf(stderr, "%s\n", qPrintable(message));
  return script.messages().isEmpty() ? 0 : 1;
}
