// The canvas's view state: picture rectangle, fit and zoom, the button panel and the drag.
#include "canvas/canvas_view.h"

CanvasView g_canvas_view;
