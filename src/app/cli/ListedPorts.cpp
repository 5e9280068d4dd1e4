#include "ListedPorts.h"
#include "CatalogueSnapshot.h"
#include "ComboBoxTarget.h"
#include "PortCatalogue.h"
#include "modSerailIO.h"

namespace {

class StringListTarget : public ComboBoxTarget
{
public:
    QStringList items;
    void clear() override { items.clear(); }
    void addItem(const QString &text) override { items.append(text); }
    int count() const override { return int(items.size()); }
    void setCurrentIndex(int) override {}
};

} // namespace

QStringList listedPorts()
{
    StringListTarget box;
    FillPortList(box, CatalogueSnapshot(*createSystemCatalogue()));
    return box.items;
}
