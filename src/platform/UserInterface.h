#pragma once
// What the engine asks of the user's front end: modal message boxes, letting
// pending window messages run, and the screen cursor. The viewer installs Qt
// dialogs and event processing; the rpt tool writes to standard error; tests
// record the calls.
#include <memory>
#include <string>

namespace rpt {

enum class TCursor { crDefault, crHourGlass };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // A modal box with an OK button; `text` is 8-bit Windows-1252 as the
    // engine holds it. Used for the system's messages and error boxes alike.
    virtual void ShowMessage(const std::string& text) = 0;
    virtual void ShowError(const std::string& text) = 0;
    virtual void ProcessMessages() = 0;
    virtual TCursor Cursor() const = 0;
    virtual void SetCursor(TCursor cursor) = 0;
};

// The installed front end; the default writes messages to standard error.
UserInterface& UI();
// Installs a front end and answers the previous one (never null).
std::unique_ptr<UserInterface> SetUserInterface(std::unique_ptr<UserInterface> ui);

// Shows the hourglass for its lifetime and puts the remembered cursor back.
class BusyCursor {
public:
    BusyCursor() : saved_(UI().Cursor()) { UI().SetCursor(TCursor::crHourGlass); }
    ~BusyCursor() { UI().SetCursor(saved_); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

private:
    TCursor saved_;
};

// Front end for tools and tests: messages go to standard error.
class ConsoleUserInterface : public UserInterface {
public:
    void ShowMessage(const std::string& text) override;
    void ShowError(const std::string& text) override;
    void ProcessMessages() override {}
    TCursor Cursor() const override { return cursor_; }
    void SetCursor(TCursor cursor) override { cursor_ = cursor; }

private:
    TCursor cursor_ = TCursor::crDefault;
};

} // namespace rpt
