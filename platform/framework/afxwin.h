// Everything the program's classes use of the framework, in one include.
#pragma once

#include "platform/framework/afx_string.h"
#include "platform/framework/afx_types.h"
#include "platform/framework/afxres.h"
#include "platform/framework/archive.h"
#include "platform/framework/cmd_ui.h"
#include "platform/framework/command_line.h"
#include "platform/framework/dialog.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/document.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/paint_dc.h"
#include "platform/framework/scroll_view.h"
#include "platform/framework/view.h"
#include "platform/framework/win_app.h"
#include "platform/framework/wnd.h"
