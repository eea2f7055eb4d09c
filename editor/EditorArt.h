// Varunel's versions of the shared splash window and About box: its name on
// the banner, "Version 1.0", its own texts and contact address, and a splash
// that is an ordinary window with the caption "Splash".
#pragma once

class TfrmAboutBox;
class TfrmSplash;

namespace editorart {

void MakeEditorSplash(TfrmSplash& splash);
void MakeEditorAboutBox(TfrmAboutBox& about);

}  // namespace editorart
