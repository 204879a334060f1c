#pragma once

#include <QString>

class QWidget;

namespace hints {

// The text of the standard error box: the message, with "." appended when the message is
// not empty and its last character sorts after "." ("Disk full" → "Disk full.", but
// "Истекло время!" and "(1)" stay as they are).
QString ErrorBoxText(const QString& message);

// The standard error box: modal, stop icon, one OK button, caption "Мнемира", text
// ErrorBoxText(message). Returns when the player closes it.
void ShowStandardErrorBox(const QString& message, QWidget* parent = nullptr);

} // namespace hints
