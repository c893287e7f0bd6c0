// The base dialog: modal run, message routing, OK and Cancel, settings writes.
#include "dialogs/filter_dialog.h"
