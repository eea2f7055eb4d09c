// Sending the display pane's text to Word, Excel or PowerPoint.
//
// The Output* routines run one output each and raise on the first failing
// step, leaving done what was done; Submit runs the chosen one under its
// failure handler, shows the target's message and says whether the typing
// pane may be emptied. Where the application sends the text in one step (the
// office's Writer, Calc and Impress), a step given up because the application
// did not answer in time may still arrive when it answers again; the next
// submit then types only what of its text has not arrived, so that the text
// the typing pane kept ends up in the document once.
#pragma once

#include "Messenger.h"
#include "automation.h"

#include <QString>
#include <string>

class QWidget;

namespace output {

inline constexpr char kWordFailure[] =
    "Please verify relevant MS Office Application is running and cursor is focused to transfer data.";
inline constexpr char kOfficeFailure[] =
    "Please verify relevant MS Office Application is running  and cursor is focused to transfer data.";
inline constexpr char kMessengerFailure[] = "Please verify MSN Live Messanger Chat window is running.";

// The integer value of a font size held as decimal text; raises
// std::invalid_argument ("'x' is not a valid integer value") otherwise.
int StrToInt(const std::string& text);

// What one submit sends. `fontSize` is the size setting as text; it is read
// as an integer only at the step that sets the size.
struct Request {
  std::u16string text;  // the display pane's whole text, lines joined by CR LF
  std::u16string face;  // the English font in English typing, else the map's font
  std::string fontSize;
};

void OutputToWord(automation::TWordApplication& word, const Request& request);
// `selectNext`: Enter was pressed on an empty typing pane; the active cell
// moves on after the font is set.
void OutputToExcel(automation::TExcelApplication& excel, const Request& request, bool selectNext);
void OutputToPowerPoint(automation::TPowerPointApplication& powerPoint, const Request& request);

enum class Target { Word, Excel, PowerPoint, Messenger };

// The components and state a main window owns for the output.
struct Connections {
  automation::TWordApplication WordApplication1;
  automation::TExcelApplication ExcelApplication1;
  automation::TPowerPointApplication PowerPointApplication1;
  MessengerState messenger;
  // Closes the three Office connections (when the program ends).
  void DisconnectAll();
};

// One submit from the typing pane. `isEnter`: the key was Enter;
// `typingPaneEmpty`: the typing pane holds no text now; `englishMode` and
// `displayFace` (the display pane's face, 8-bit) are read by the messenger.
// Returns true when the typing pane is to be emptied; on a failure the
// target's message has been shown, the text stays, and the connections are
// closed, so that the next submit reaches the application anew (it may have
// been closed and started again meanwhile).
bool Submit(QWidget* parent, Target target, Connections& connections, const Request& request,
            bool isEnter, bool typingPaneEmpty, bool englishMode, const std::string& displayFace);

}  // namespace output
