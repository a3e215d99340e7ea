// The main window's side of the map link. The helper protocol itself is not built yet:
// these handlers accept their commands and messages and do nothing, and no message
// pretends otherwise.
#include "app/main_dialog.h"

void MainDialog::OnMapDisplay() {}

void MainDialog::OnTakePosition() {}

void MainDialog::OnMapObject() {}

LRESULT MainDialog::OnMarkerNotice(WPARAM, LPARAM) { return 0; }

LRESULT MainDialog::OnHelperReply(WPARAM, LPARAM) { return 0; }

void MainDialog::CloseHelper() {}
