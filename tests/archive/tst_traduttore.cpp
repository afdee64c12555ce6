#include "archive/TraduttoreJet.h"

#include <QTest>

class TestTraduttore : public QObject
{
    Q_OBJECT
private slots:
    // Each row: what it shows, the Jet text, its translation, and whether the
    // engine folds unquoted names and sorts NULL last. Text comparisons show as
    // C<column op value>, sorted text as O(column), the tie-break of an ORDER BY as S.
    void traduce()
    {
        const std::tuple<QString, QString, QString, bool> casi[] = {
            {"date with time", "dtinvio >= #12/31/2013 23:05:09#", "dtinvio >= '2013-12-31 23:05:09'", false},
            {"YEAR with blank and nested brackets", "YEAR ((data)) = 2014", "Y((data)) = 2014", false},
            {"a column named like year is a name", "select yearly, year from t", "select yearly, year from t", false},
            {"literal holding # and year(", "Codice='#01/02/2014# year(x)'", "C<Codice = #01/02/2014# year(x)>", false},
            {"double-quoted literal", "Tipo=\"D'A\"\"B\"", "C<Tipo = D'A\"B>", false},
            {"double-quoted literal, no column", "x=\"D'A\"\"B\"", "x='D''A\"B'", false},
            {"text compared: with a text, unqualified, = or <> only",
             "where codice <>'a' or Posta.Codice = Nuove.Codice or Tipo = Codice or Stampa like 'x%' or Tipo=='b'",
             "where C<codice <> a> or Posta.Codice = Nuove.Codice or Tipo = Codice or Stampa like 'x%' or Tipo=='b'", false},
            {"an UPDATE's SET gives values",
             "update Posta set email = '', Tipo='x' where Stampa = 'a'",
             "update Posta set email = '', Tipo='x' where C<Stampa = a>", false},
            {"sorted text and the tie-break: not after DISTINCT, the key, a join or another table",
             "select Stampa from Posta order by tipo desc, data; select distinct Tipo from posta order by tipo; "
             "select * from Posta order by Id limit 5; select a from Prova order by a; "
             "select x from qryEmail join Posta on y order by x",
             "select Stampa from Posta order by O(tipo) desc NULLS LAST, data NULLS FIRST, S; "
             "select distinct Tipo from posta order by tipo NULLS FIRST; select * from Posta order by Id NULLS FIRST limit 5; "
             "select a from Prova order by a NULLS FIRST; select x from qryEmail join Posta on y order by x NULLS FIRST", true},
            {"bracketed name", "select [Num Doc] from Posta", "select \"Num Doc\" from Posta", false},
            {"empty date is no date", "Data=## and x=1", "Data=## and x=1", false},
            {"month 13 is no date", "Data=#13/01/2014#", "Data=#13/01/2014#", false},
            {"unterminated literal copied", "x='abc", "x='abc", false},
            {"aliases keep their spelling",
             "Select NumDoc as Num_Documento, year(data) AS anno, [NumDoc] from Posta",
             "Select NumDoc as \"Num_Documento\", Y(data) AS \"anno\", \"numdoc\" from Posta", true},
            {"cdate, nested, beside year",
             "values (cdate(?), CDate ((?)), year(cdate(?)), cdates(x))",
             "values (D<?>, D<(?)>, Y(D<?>), cdates(x))", false},
            {"only blanks between as and name", "x as(y), z as 'w'", "x as(y), z as 'w'", true},
            {"empty values sort first, as on Jet",
             "select * from Posta where data between(#1/1/2014#) and (#1/31/2014#) order by tipo,data;",
             "select * from Posta where data between('2014-01-01') and ('2014-01-31') order by O(tipo) NULLS FIRST,data "
             "NULLS FIRST, S;", true},
            {"descending, nested, already said",
             "select x from (select a from t order by a desc) order by [B] DESC, year(c) asc, d nulls last",
             "select x from (select a from t order by a desc NULLS LAST) order by \"b\" DESC NULLS LAST, "
             "Y(c) asc NULLS FIRST, d nulls last", true},
            {"order by inside a literal, then limit",
             "select 'order by x' from Posta order by 1 limit 5",
             "select 'order by x' from Posta order by 1 NULLS FIRST, S limit 5", true},
        };
        for (const auto& [nome, jet, atteso, server] : casi) {
            const Dialetto dialetto{QStringLiteral("Y("),
                                    QStringLiteral(")"),
                                    server,
                                    server,
                                    QStringLiteral("D<"),
                                    QStringLiteral(">"),
                                    [](const QString& colonna, const QString& operatore, const QString& valore) {
                                        return QStringLiteral("C<%1 %2 %3>").arg(colonna, operatore, valore);
                                    },
                                    [](const QString& colonna) { return QStringLiteral("O(%1)").arg(colonna); },
                                    QStringLiteral("S")};
            QCOMPARE(nome + ": " + TraduciJet(jet, dialetto), nome + ": " + atteso);
        }
    }
};

QTEST_APPLESS_MAIN(TestTraduttore)
#include "tst_traduttore.moc"
