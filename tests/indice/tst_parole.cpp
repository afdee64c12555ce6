#include "indice/Parole.h"

#include <QtTest>

// Words as both engines index them, a search as typed, and the piece of
// text a result list shows.
class TestParole : public QObject
{
    Q_OBJECT

private slots:
    void formeDelleParole()
    {
        const struct { const char* testo; const char* parole; } casi[] = {
            {"Città di FORLÌ", "citta di forli"},
            {"Citta\u0300 scritta con l'accento a parte", "citta scritta con l accento a parte"},
            {"Q.tà 1.234,56 €", "q ta 1 234 56"},
            {"ﬁne Straße Ærø", "fine straße ærø"},
            {"²³ ——— 🙂", ""},
        };
        for (const auto& c : casi)
            QVERIFY2(ParoleDelTesto(QString::fromUtf8(c.testo)) == QString::fromUtf8(c.parole), c.testo);
        // A text longer than the index takes keeps its first words, up to the last one that fits.
        const QString lungo = QString("a ").repeated(ParoleMassime + 1);
        QCOMPARE(ParoleDelTesto(lungo), lungo.left(2 * ParoleMassime - 1));
    }

    void ricercheScritte()
    {
        // Each phrase as its words, '+' after a prefix, phrases apart by '|'.
        const struct { const char* ricerca; const char* frasi; } casi[] = {
            {"Città  forlì", "citta|forli"},
            {"forl*", "forl+"},
            {"\"Via Roma\" 12", "via roma|12"},
            {"\"via ro*\"", "via ro+"},
            {"\"via ro\"* e-mail", "via ro+|e mail"},
            {"\"frase non chiusa", "frase non chiusa"},
            {"  * \"\" -- ", ""},
        };
        for (const auto& c : casi) {
            const auto frasi = LeggiRicerca(QString::fromUtf8(c.ricerca));
            QStringList scritte;
            for (const FraseCercata& f : frasi ? *frasi : QList<FraseCercata>())
                scritte.append(f.parole.join(' ') + (f.prefisso ? "+" : ""));
            QVERIFY2(scritte.join('|') == QString::fromUtf8(c.frasi), c.ricerca);
        }
    }

    void estrattoConLeParoleTrovate()
    {
        const QString testo = "Fattura n. 12\n\nSpett.le Ditta Rossi,   Via   Roma 3 Forlì; "
                              "consegna di viti, tasselli, guanti da lavoro, silicone e raccordi in ottone";
        const auto estratto = [&testo](const QString& ricerca) {
            QString s;
            for (const PezzoEstratto& p : EstrattoTesto(testo, *LeggiRicerca(ricerca)))
                s += p.trovato ? "[" + p.testo + "]" : p.testo;
            return s;
        };
        QCOMPARE(estratto("forli \"via roma\""),
                 "… n. 12 Spett.le Ditta Rossi, [Via Roma] 3 [Forlì]; consegna di viti, tasselli, guanti da "
                 "lavoro, silicone e raccordi in …");
        QCOMPARE(estratto("fatt*"), "[Fattura] n. 12 Spett.le Ditta Rossi, Via Roma 3 Forlì; consegna di viti, "
                                    "tasselli, …");
        QCOMPARE(estratto("assente"), estratto("fatt*").remove('[').remove(']'));
    }
};

QTEST_APPLESS_MAIN(TestParole)
#include "tst_parole.moc"
