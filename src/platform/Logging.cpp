#include "platform/Logging.h"

Q_LOGGING_CATEGORY(lcFiles, "jolvex.fs", QtWarningMsg)
Q_LOGGING_CATEGORY(lcSettings, "jolvex.settings", QtWarningMsg)
Q_LOGGING_CATEGORY(lcX11, "jolvex.x11", QtWarningMsg)
Q_LOGGING_CATEGORY(lcPaste, "jolvex.paste", QtWarningMsg)
Q_LOGGING_CATEGORY(lcThumbs, "jolvex.thumbs", QtWarningMsg)
Q_LOGGING_CATEGORY(lcOnline, "jolvex.online", QtWarningMsg)
