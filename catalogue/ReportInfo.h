#pragma once

#include "catalogue/ViewerVersion.h"

#include <QString>

// One found report: what its folder name and its metadata.xml say about it. The report's
// folder is not stored here; it is the key under which the record is kept.
struct ReportInfo
{
    int prefix = 0;                      // the first four digits of the folder name
    QString dataFileName;                // first *.js file of the folder in name order
    QString dateTime;                    // DateTime text exactly as stored
    QString reportType;                  // "P", "C" or empty
    ViewerVersion requiredViewerVersion; // {0, 0, 0} when absent
    QString comment;                     // decoded Comment text
};
