#pragma once

#include <QLoggingCategory>

// Log lines of the web road: what a guest's request or the site did wrong,
// where no box may be shown.
Q_DECLARE_LOGGING_CATEGORY(logWebu)
