#pragma once

#include "stores/download_list.h"

#include <glibmm/object.h>
#include <glibmm/refptr.h>
#include <sigc++/signal.h>

namespace sarvik {

// One download in the downloads list's model. The object stays while its
// download is listed and takes each new state in place, so a row showing it
// follows its progress without the list being rebuilt.
class DownloadItemObject : public Glib::Object {
public:
    static Glib::RefPtr<DownloadItemObject> create(DownloadRecord record);

    const DownloadRecord& record() const { return m_record; }
    // Takes the new state; emits changed() only when something differs.
    void update(const DownloadRecord& record);
    sigc::signal<void()>& changed() { return m_changed; }

protected:
    explicit DownloadItemObject(DownloadRecord record);

private:
    DownloadRecord m_record;
    sigc::signal<void()> m_changed;
};

}  // namespace sarvik
