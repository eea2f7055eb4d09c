#include "EditorArt.h"

#include <QLabel>
#include <QPlainTextEdit>

#include "AboutArt.h"
#include "uAboutBox.h"
#include "uSplash.h"

namespace editorart {
namespace {

const QString kVersion = QStringLiteral("Version 1.0");

void SetTexts(QWidget& window, const QString& description) {
  if (auto* banner = window.findChild<QLabel*>(QStringLiteral("Image1")))
    banner->setPixmap(about::ProductBanner(QStringLiteral("Varunel")));
  if (auto* version = window.findChild<QLabel*>(QStringLiteral("Version"))) version->setText(kVersion);
  if (auto* memo = window.findChild<QPlainTextEdit*>(QStringLiteral("Memo1"))) memo->setPlainText(description);
}

}  // namespace

void MakeEditorSplash(TfrmSplash& splash) {
  splash.setWindowTitle(QStringLiteral("Splash"));
  splash.setWindowFlag(Qt::WindowStaysOnTopHint, false);
  SetTexts(splash, QStringLiteral(
                       "Varunel - the phonetic Sinhala editor.\n\n"
                       "Type Sinhala as it sounds in English letters (\"ka\", \"kaa\", \"ki\") in the "
                       "lower pane; the upper pane shows it in your Sinhala font, line by line.\n\n"
                       "Copy the Sinhala text into other programs, export it as a picture or a Word "
                       "document, and build your own font maps. What you type is kept in a recovery "
                       "file, so it is there again at the next start."));
}

void MakeEditorAboutBox(TfrmAboutBox& about) {
  SetTexts(about, QStringLiteral(
                      "Varunel lets you write Sinhala phonetically: type romanised Sinhala and it is "
                      "converted, keystroke by keystroke, into the characters of a Sinhala font.\n\n"
                      "This program is provided as it is, without warranty of any kind. The full terms "
                      "are in the section \"Warranty\" of the user guide (Varunel.htm in the program "
                      "folder).\n\n"
                      "Credits: design and programming by the Orvi Applications team; font maps by the "
                      "map authors named in each map."));
  if (auto* address = about.findChild<QLabel*>(QStringLiteral("Label5")))
    address->setText(QStringLiteral("comments@varunel.example.org"));
}

}  // namespace editorart
