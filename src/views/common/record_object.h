#pragma once

#include <glibmm/object.h>
#include <glibmm/refptr.h>
#include <sigc++/signal.h>

#include <utility>

namespace sarvik {

// One record as an element of a list model: a copy taken when the list was
// made, so a row shows and acts on what it was bound with, whatever the store
// holds by then. update() gives it a newer state in place and changed() tells
// the bound row, so a list can follow progress without being rebuilt.
template <typename Record>
class RecordObject : public Glib::Object {
public:
    static Glib::RefPtr<RecordObject> create(Record record) {
        return Glib::make_refptr_for_instance(new RecordObject(std::move(record)));
    }

    const Record& record() const { return m_record; }

    // Emits changed() only when something differs.
    void update(const Record& record) {
        if (record == m_record) return;
        m_record = record;
        m_changed.emit();
    }
    sigc::signal<void()>& changed() { return m_changed; }

protected:
    explicit RecordObject(Record record) : m_record(std::move(record)) {}

private:
    Record m_record;
    sigc::signal<void()> m_changed;
};

}  // namespace sarvik
