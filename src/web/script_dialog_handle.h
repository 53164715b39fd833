#pragma once

#include <webkit/webkit.h>

#include <utility>

namespace sarvik {

// Keeps a page's alert/confirm/prompt open until it is answered. Whatever
// happens to the panel that asks the user, the page gets its answer: an
// unanswered dialog is closed (as "Cancel") when its handle goes.
class ScriptDialogHandle {
public:
    ScriptDialogHandle() = default;
    explicit ScriptDialogHandle(WebKitScriptDialog* dialog) : m_dialog(webkit_script_dialog_ref(dialog)) {}
    ~ScriptDialogHandle() { close(); }

    ScriptDialogHandle(ScriptDialogHandle&& other) noexcept : m_dialog(std::exchange(other.m_dialog, nullptr)) {}
    ScriptDialogHandle& operator=(ScriptDialogHandle&& other) noexcept {
        if (this != &other) {
            close();
            m_dialog = std::exchange(other.m_dialog, nullptr);
        }
        return *this;
    }
    ScriptDialogHandle(const ScriptDialogHandle&) = delete;
    ScriptDialogHandle& operator=(const ScriptDialogHandle&) = delete;

    WebKitScriptDialog* get() const { return m_dialog; }

    // Answers the page and lets the dialog go.
    void close() {
        if (auto* dialog = std::exchange(m_dialog, nullptr)) {
            webkit_script_dialog_close(dialog);
            webkit_script_dialog_unref(dialog);
        }
    }

private:
    WebKitScriptDialog* m_dialog = nullptr;
};

}  // namespace sarvik
