// SPDX-License-Identifier: GPL-3.0-or-later
#include "basic/Constants.h"

QList<int> msgBoxButtonCodes(qint32 buttonSet)
{
    switch (buttonSet) {
    case vbOKOnly:
        return {vbOK};
    case vbOKCancel:
        return {vbOK, vbCancel};
    case vbAbortRetryIgnore:
        return {vbAbort, vbRetry, vbIgnore};
    case vbYesNoCancel:
        return {vbYes, vbNo, vbCancel};
    case vbYesNo:
        return {vbYes, vbNo};
    case vbRetryCancel:
        return {vbRetry, vbCancel};
    }
    return {};
}
