#pragma once

#include <QString>

// The "Help Button" page that the message-box and input-box tools share:
// include a Help button, the help file, App.Path in front of it, the topic.
struct HelpFields
{
    bool help = false;
    bool appPath = false;
    QString helpFile;
    QString topicId = QStringLiteral("0");
};

// The help file and topic arguments of a generated call, as in
// `App.Path & "\my.hlp", 120` or `"my.hlp", 7`. The caller writes them only
// when help is on.
QString helpArguments(const HelpFields &fields);
