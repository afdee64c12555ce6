#include "components/ComponenteReport.h"

#include <QHash>

namespace {
QHash<QString, ComponenteReport::Fabbrica>& fabbriche()
{
    static QHash<QString, ComponenteReport::Fabbrica> registrate;
    return registrate;
}
}

std::unique_ptr<ComponenteReport> ComponenteReport::Crea(const QString& nomeClasse)
{
    const auto trovata = fabbriche().constFind(nomeClasse);
    return trovata != fabbriche().cend() && *trovata ? (*trovata)() : nullptr;
}

void ComponenteReport::Registra(const QString& nomeClasse, Fabbrica fabbrica)
{
    if (fabbrica)
        fabbriche().insert(nomeClasse, std::move(fabbrica));
    else
        fabbriche().remove(nomeClasse);
}
