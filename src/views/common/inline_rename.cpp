#include "views/common/inline_rename.h"

#include "views/common/entry_focus.h"
#include "views/common/row_keys.h"

#include <utility>

namespace sarvik {

void InlineRename::start(const Uuid& id, std::string title) {
    m_id = id;
    m_title = std::move(title);
    m_changed.emit();
}

void InlineRename::confirm() {
    if (!m_id) return;
    const auto id = std::exchange(m_id, std::nullopt);
    const std::string title = std::exchange(m_title, {});
    m_changed.emit();
    if (!title.empty()) m_commit(*id, title);
}

void InlineRename::cancel() {
    if (!m_id) return;
    m_id.reset();
    m_title.clear();
    m_changed.emit();
}

InlineRenameField::InlineRenameField(InlineRename& rename, Gtk::Widget& title) : m_rename(rename), m_title(title) {
    set_placeholder_text("Name");
    set_has_frame(false);
    set_hexpand(true);
    add_css_class("orvel-plain-entry");
    set_visible(false);
    signal_changed().connect([this] {
        if (get_visible() && m_id && m_rename.isRenaming(*m_id)) m_rename.setTitle(get_text());
    });
    signal_activate().connect([this] { m_rename.confirm(); });
    cancelOnEscape(*this, [this] { m_rename.cancel(); });
    m_renameChanged = m_rename.changed().connect([this] { showState(true); });
}

void InlineRenameField::bind(const Uuid& id) {
    m_id = id;
    showState(false);
}

// Only a rename being started takes the keyboard: a row rebound while the list
// refills must not pull it from wherever the user is typing.
void InlineRenameField::showState(bool takeFocus) {
    const bool isRenaming = m_id && m_rename.isRenaming(*m_id);
    if (isRenaming && !get_visible()) {
        set_text(m_rename.title());
        set_visible(true);
        if (takeFocus) focusWithTextSelected(*this);
    } else if (!isRenaming) {
        set_visible(false);
    }
    m_title.set_visible(!isRenaming);
}

}  // namespace sarvik
