// The preview half of FilterDialog: the pane, painting, compositing and panning.
#include "dialogs/filter_dialog.h"
