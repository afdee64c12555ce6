#include "AmbienteProva.h"

#include "avvio/AttivazioneProgramma.h"
#include "avvio/EliminaFileTemp.h"
#include "settings/Impostazioni.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QScopeGuard>
#include <QTest>

class TestEliminaFileTemp : public QObject
{
    Q_OBJECT

private slots:
    // Velmira.ini as found (none for a first start) and a list `eta` calendar
    // days old: whether the list stays, and the Durata left behind (an empty one
    // is repaired, anything else is left as the user wrote it). Age counts
    // midnights, not whole days: just after midnight a list made yesterday
    // evening is a day old.
    void attivazione()
    {
        const QByteArray durata = "[EliminaTemp]\nDurata=";
        const std::tuple<QByteArray, int, bool, QString> casi[] = {
            {QByteArray(), 100, false, "resta|7"}, // first start: only the Durata
            {durata, 8, false, "via|7"},
            {durata + "0", 1, true, "via|0"},
            {durata + "una settimana", 8, false, "via|una settimana"}, // not a number: as 7
            {durata + "7.6", 8, false, "resta|7.6"}, // decimals: rounded
            {durata + "-1", 0, false, "via|-1"}, // negative: today's lists too
            {durata + "99999", 7, false, "resta|99999"}, // past 16 bits: as 7
        };
        for (const auto& [ini, eta, aMezzanotte, atteso] : casi) {
            AmbienteProva ambiente;
            if (!ini.isNull())
                ambiente.scriviFile(QStringLiteral("Velmira.ini"), ini);
            const QString lista = ambiente.scriviFile("elenchi/copiati_01_03_2026.txt", "x");
            const QDateTime dopo = DataCreazione(QFileInfo(lista)).addDays(eta);

            QVERIFY(AttivazioneProgramma(aMezzanotte ? QDateTime(dopo.date(), QTime(0, 1)) : dopo));

            const QStringList righe = QString::fromUtf8(LeggiFile(PercorsoVelmiraIni())).split('\n', Qt::SkipEmptyParts);
            // The whole file must be exactly "[EliminaTemp]" and "Durata=<value>".
            const QString caso = QString::fromUtf8(ini) + QStringLiteral(", %1 giorni: ").arg(eta);
            QCOMPARE(caso + (QFileInfo::exists(lista) ? "resta|" : "via|") + righe.join(' ').replace("[EliminaTemp] Durata=", ""),
                     caso + atteso);
            QCOMPARE(QDir(ambiente.cartella()).entryList(QDir::Files), QStringList{"Velmira.ini"});
            QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
        }
    }

    // Read-only and undeletable lists are skipped and the rest still cleaned;
    // only the folder's own files count. A list's age runs from its birth where
    // the file system records one, so a late edit does not keep an old list.
    void qualiFileVanno()
    {
        AmbienteProva ambiente;
        const QStringList nomi{"a_sola_lettura.txt", "b_bloccato.txt", "c_comune.txt", ".d_nascosto",
                               "e_ritoccato.txt", "vecchi/f.txt"};
        for (const QString& nome : nomi)
            ambiente.scriviFile("elenchi/" + nome);
        const QString cartella = ambiente.percorso(QStringLiteral("elenchi"));
        const QDateTime adesso = DataCreazione(QFileInfo(cartella + "/c_comune.txt")).addDays(30);
        QVERIFY(QFile::setPermissions(cartella + "/a_sola_lettura.txt", QFileDevice::ReadOwner));
        // Immutable: not even the administrator can delete it.
        const QString bloccato = cartella + "/b_bloccato.txt";
        const bool blocco = QProcess::execute("chattr", {"+i", bloccato}) == 0;
        const auto sblocca = qScopeGuard([&] { QProcess::execute("chattr", {"-i", bloccato}); });
        QFile ritoccato(cartella + "/e_ritoccato.txt");
        QVERIFY(ritoccato.open(QIODevice::ReadWrite)
                && ritoccato.setFileTime(adesso, QFileDevice::FileModificationTime));
        const bool nascita = QFileInfo(ritoccato).birthTime().isValid();

        const int eliminati = EliminaFileTemp(cartella, 7, adesso);

        QStringList restano;
        for (const QString& nome : nomi)
            if (QFileInfo::exists(cartella + '/' + nome))
                restano << nome;
        QCOMPARE(eliminati, nomi.size() - restano.size());
        QStringList attesi{"a_sola_lettura.txt", "b_bloccato.txt", "e_ritoccato.txt", "vecchi/f.txt"};
        attesi.removeOne(blocco ? "" : "b_bloccato.txt"); // deleted where it cannot be locked
        attesi.removeOne(nascita ? "e_ritoccato.txt" : ""); // kept by its edit where no birth time
        QCOMPARE(restano, attesi);
        if (!blocco || !nascita)
            QSKIP("questo file system non blocca i file o non registra la nascita: provato il resto");
    }
};

QTEST_GUILESS_MAIN(TestEliminaFileTemp)
#include "TestEliminaFileTemp.moc"
