#pragma once
// The engine's front end inside the viewer: messages and error boxes are Qt
// message boxes, pending events run through Qt's event loop, and the
// hourglass is Qt's application-wide wait cursor.
#include "platform/UserInterface.h"

#include <QString>

#include <string>

namespace rpt {

class QtUserInterface : public UserInterface {
public:
    QtUserInterface() = default;
    ~QtUserInterface() override;
    QtUserInterface(const QtUserInterface&) = delete;
    QtUserInterface& operator=(const QtUserInterface&) = delete;

    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void ProcessMessages() override;
    TCursor Cursor() const override { return cursor_; }
    void SetCursor(TCursor cursor) override;

    // The engine's 8-bit Windows-1252 text as a Qt string, with its carriage
    // returns as line breaks.
    static QString DecodeText(const std::string& text);

private:
    TCursor cursor_ = TCursor::crDefault;
};

} // namespace rpt
