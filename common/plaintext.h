// File names come from anywhere, and a tool tip renders its text as markup when the text looks
// like markup: a file named "<h1>big</h1>.avi" would show as a heading.
#pragma once

#include <QString>

// text for a tool tip that shows its characters as they are: text itself when no tool tip
// could take it for markup (every ordinary name), otherwise markup that shows the same
// characters literally.
QString plainToolTip(const QString& text);
