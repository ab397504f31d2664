// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The six fields of the header tool. All start empty; the copyright and date
// fields are then filled from today's date (see headerDateDefaults).
struct HeaderFields
{
    QString project;
    QString program;
    QString version;
    QString date;
    QString copyright;
    QString description;

    friend bool operator==(const HeaderFields &, const HeaderFields &) = default;
};
