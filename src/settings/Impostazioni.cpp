#include "settings/Impostazioni.h"

#include "common/CartellaProgramma.h"
#include "settings/FileIni.h"

#include <QFileInfo>

namespace {
const QString separatoreRighe = QStringLiteral("\r\n");
}

QString PercorsoVelmiraIni()
{
    return UnisciPercorso(CartellaProgramma(UsoCartella::Impostazioni), QStringLiteral("Velmira.ini"));
}

bool EsisteVelmiraIni()
{
    return QFileInfo(PercorsoVelmiraIni()).isFile();
}

QString LeggiIni(const QString& sezione, const QString& chiave)
{
    return LeggiValoreIni(PercorsoVelmiraIni(), sezione, chiave);
}

void ScriviIni(const QString& sezione, const QString& chiave, const QString& valore)
{
    ScriviValoreIni(PercorsoVelmiraIni(), sezione, chiave, valore);
}

void LeggiScriviMessaggio(QString& messaggio, bool lettura)
{
    if (lettura) {
        const QString salvato = LeggiIni(QStringLiteral("Email"), QStringLiteral("Messaggio"));
        messaggio = salvato.isEmpty()
            ? QString()
            : salvato.split(QLatin1Char('+')).join(separatoreRighe);
        return;
    }
    if (messaggio.isEmpty())
        return;
    // A text edited on Linux has bare line feeds, one from an old Mac bare
    // carriage returns; every form is one line break.
    QString normale = messaggio;
    normale.replace(separatoreRighe, QStringLiteral("\n"));
    normale.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    ScriviIni(QStringLiteral("Email"), QStringLiteral("Messaggio"),
              normale.split(QLatin1Char('\n')).join(QLatin1Char('+')));
}

EmailImpostazioni LeggiImpostazioniEmail()
{
    const QString email = QStringLiteral("Email");
    EmailImpostazioni e;
    e.Indirizzo = LeggiIni(email, QStringLiteral("Indirizzo"));
    e.SMTP = LeggiIni(email, QStringLiteral("SMTP"));
    e.UserID = LeggiIni(email, QStringLiteral("UserID"));
    e.Password = LeggiIni(email, QStringLiteral("Password"));
    e.Oggetto = LeggiIni(email, QStringLiteral("Oggetto"));
    LeggiScriviMessaggio(e.Messaggio, true);
    e.Porta = LeggiIni(email, QStringLiteral("Porta"));
    return e;
}
