#include "components/CampiDerivati.h"

#include <QHash>

namespace {
QHash<QString, FabbricaCampo>& registro()
{
    static QHash<QString, FabbricaCampo> campi;
    return campi;
}
}

void RegistraCampoDerivato(const QString& nome, const FabbricaCampo& fabbrica)
{
    registro().insert(nome.toLower(), fabbrica);
}

const FabbricaCampo* CampoDerivatoRegistrato(const QString& nome)
{
    const auto trovato = registro().constFind(nome.toLower());
    return trovato == registro().constEnd() ? nullptr : &*trovato;
}
