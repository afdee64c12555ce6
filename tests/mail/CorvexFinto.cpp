#include "CorvexFinto.h"

#include "archive/Archivio.h"
#include "archive/Recordset.h"
#include "common/CartellaProgramma.h"

#include <QFile>
#include <QTimer>

namespace {
QString& messaggioRisultato()
{
    static QString messaggio;
    return messaggio;
}
}

QList<CorvexFinto::Invio>& CorvexFinto::Invii()
{
    static QList<Invio> invii;
    return invii;
}

void CorvexFinto::Installa(const QString& messaggio)
{
    Invii().clear();
    messaggioRisultato() = messaggio;
    Corvex::InstallaFabbrica([] { return std::make_unique<CorvexFinto>(); });
}

void CorvexFinto::Disinstalla()
{
    Corvex::InstallaFabbrica({});
}

CorvexFinto::~CorvexFinto()
{
    if (indice_ >= 0)
        Invii()[indice_].rilasciato = true;
}

void CorvexFinto::InviaDocumenti(const TabellaInvio& tabella)
{
    indice_ = Invii().size();
    Invii().append({{Mittente, TestoMail, OggettoMail, PasswordSmtp, QString::number(PortaSmtp), ServerSmtp,
                     Utente},
                    tabella});
    QTimer::singleShot(0, this, [this, tabella] {
        QFile elenco(UnisciPercorso(CartellaProgramma(), QStringLiteral("ElencoMail_%1.txt").arg(indice_)));
        if (elenco.open(QIODevice::WriteOnly)) {
            for (qsizetype k = 0; k < tabella.percorsi.size(); ++k)
                elenco.write(QStringLiteral("15/03/2014 10:31:%1 - %2 - %3 - inviato - %4\n")
                                 .arg(k, 2, 10, QLatin1Char('0'))
                                 .arg(Mittente, tabella.destinatari.at(k), tabella.percorsi.at(k))
                                 .toUtf8());
        }
        elenco.close();
        emit Avanzamento(int(tabella.percorsi.size()), int(tabella.percorsi.size()));
        emit Risultato(true, messaggioRisultato());
    });
}

QStringList RigheArchivio(const QString& database, const QString& istruzione)
{
    Recordset rs;
    if (const ErroreArchivio errore = rs.ApriSql(StringaConnessione(database), istruzione); errore.presente())
        return {errore.testo()};
    QStringList righe;
    for (; !rs.FineFile(); rs.MoveNext()) {
        QStringList campi;
        for (int i = 0; i < rs.NumeroCampi(); ++i) {
            const QVariant valore = rs.Valore(i);
            campi.append(valore.typeId() == QMetaType::QDateTime ? valore.toDateTime().toString(Qt::ISODate)
                                                                : valore.toString());
        }
        righe.append(campi.join(QLatin1Char('|')));
    }
    return righe;
}
