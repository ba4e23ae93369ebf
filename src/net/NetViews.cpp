#include "NetViews.h"

#include "AdapterChooser.h"
#include "NetworkConfigModel.h"
#include "TfrmSelAdapter.h"
#include "TfrmSetPort.h"
#include "platform/DialogViews.h"

#include <QPointer>

#include <memory>

namespace {

// The adapter chooser is one window for the whole run, owned by the main window and made when first needed;
// it keeps the entries and the selection of its last use.
class KeptAdapterChooser
{
public:
    KeptAdapterChooser() = default;
    KeptAdapterChooser(const KeptAdapterChooser&) = delete;
    KeptAdapterChooser& operator=(const KeptAdapterChooser&) = delete;
    ~KeptAdapterChooser()
    {
        // Made without a main window, it has no parent to delete it.
        if (m_window && !m_window->parent())
            delete m_window;
    }

    bool show(AdapterChooserModel& model, DialogHost& host)
    {
        if (!m_window)
            m_window = new TfrmSelAdapter(host.mainWindow());
        m_window->choose(model, host);
        // However it was closed, the selection is the answer; only the end of the program is a Cancel.
        return !host.ending();
    }

private:
    QPointer<TfrmSelAdapter> m_window;
};

} // namespace

void registerNetViews(DialogViews& views)
{
    views.addWindow<TfrmSetPort, NetworkConfigModel>();
    views.add<AdapterChooserModel>(
        [kept = std::make_shared<KeptAdapterChooser>()](AdapterChooserModel& model, DialogHost& host) {
            return kept->show(model, host);
        });
}
