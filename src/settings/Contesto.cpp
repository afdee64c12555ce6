#include "settings/Contesto.h"

#include "common/CartellaProgramma.h"

Contesto LeggiContesto(const Contesto& base, bool conEmail)
{
    Contesto contesto;
    contesto.adesso = base.adesso;
    const QString percorsi = QStringLiteral("Percorsi");
    contesto.strDatabase = UnisciPercorso(LeggiIni(percorsi, QStringLiteral("DataBase")), QStringLiteral("dati.mdb"));
    contesto.strCartellaPDF = LeggiIni(percorsi, QStringLiteral("CartellaPDF"));
    if (conEmail)
        contesto.email = LeggiImpostazioniEmail();
    return contesto;
}
