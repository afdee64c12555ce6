#include "ArchivioProva.h"
#include "settings/Impostazioni.h"
#include "settings/frmImposta.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

// Every value the window writes, "Sezione/Chiave=valore", in the window's order.
QStringList Salvati()
{
    const QStringList chiavi{"Percorsi/CartellaPDF", "Percorsi/DataBase", "Email/SMTP",      "Email/UserID",
                             "Email/Password",       "Email/Indirizzo",   "Email/Oggetto",   "Email/Messaggio",
                             "Email/Porta"};
    QStringList valori;
    for (const QString& chiave : chiavi)
        valori.append(chiave + '=' + LeggiIni(chiave.section('/', 0, 0), chiave.section('/', 1)));
    return valori;
}

// What the user reads in the fields, in the same order.
QStringList Mostrati(const frmImposta& f)
{
    QStringList testi{f.txtPercorsoCartella->text(), f.txtDatabase->text()};
    for (int i = 0; i < 7; ++i)
        testi.append(f.TestoEmail(i));
    return testi;
}

// Focus in the field by clicking it, everything selected away, then typing.
void Scrivi(QWidget* campo, const QString& testo)
{
    QTest::mouseClick(campo->focusProxy() ? campo->focusProxy() : campo, Qt::LeftButton);
    QTest::keyClick(campo, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(campo, Qt::Key_Delete);
    const QStringList righe = testo.split('\n');
    for (qsizetype i = 0; i < righe.size(); ++i) {
        if (i > 0)
            QTest::keyClick(campo, Qt::Key_Return);
        QTest::keyClicks(campo, righe[i]);
    }
}

// Clicks the tab, as the user does to reach its fields.
void MostraScheda(frmImposta* f, int scheda)
{
    QTest::mouseClick(f->ssTabMail->tabBar(), Qt::LeftButton, {}, f->ssTabMail->tabBar()->tabRect(scheda).center());
}

} // namespace

class TestFrmImposta : public QObject
{
    Q_OBJECT

    QPointer<frmImposta> Apri()
    {
        QPointer<frmImposta> finestra = new frmImposta;
        return MostraAttiva(finestra) ? finestra : nullptr;
    }

    // Edits two fields, then leaves with "Chiudi" (Alt+H).
    static void ChiudiDopoModifiche(QPointer<frmImposta>& f)
    {
        Scrivi(f->txtPercorsoCartella, "/altrove");
        Scrivi(f->txtEmail[6], "2525");
        QTest::keyClick(f, Qt::Key_H, Qt::AltModifier);
        QTRY_VERIFY(f.isNull());
    }

private slots:
    // From the first start to a file the window rewrites: "Chiudi" after
    // editing never writes, "OK" writes every field as the user left it.
    void primoAvvioEModifiche()
    {
        AmbienteProva ambiente;
        QPointer<frmImposta> f = Apri();
        QVERIFY(f);
        // The form as the user meets it.
        QStringList etichette;
        for (auto* etichetta : f->findChildren<QLabel*>())
            etichette.append(etichetta->text() + '>' + etichetta->buddy()->objectName());
        etichette.sort();
        QCOMPARE(etichette.join('|'),
                 "Indirizzo Email Mittente :>txtEmail_3|Messaggio :>txtEmail_5|Oggetto Email :>txtEmail_4|"
                 "Password :>txtEmail_2|Percorso Cartella Database :>txtDatabase|"
                 "Percorso Cartella documenti :>txtPercorsoCartella|Porta :>txtEmail_6|"
                 "Server di posta SMTP :>txtEmail_0|User Id :>txtEmail_1");
        QCOMPARE(f->ssTabMail->currentIndex(), 0);
        ChiudiDopoModifiche(f);
        QVERIFY(!EsisteVelmiraIni());

        // Typed with blanks and a two-line message: stored exactly, the
        // password shown only as stars.
        f = Apri();
        Scrivi(f->txtPercorsoCartella, "/srv/documenti pdf");
        Scrivi(f->txtDatabase, "/srv/marvena");
        MostraScheda(f, 1);
        const QStringList email{"smtp.esempio.it", "ufficio", "s3gr'eto", "ufficio@esempio.it",
                                "Documenti  allegati", "Buongiorno,\n\nin allegato i documenti."};
        for (int i = 0; i < email.size(); ++i)
            Scrivi(f->txtEmail[i], email[i]);
        QTest::keyClick(f->txtEmail[5], Qt::Key_Tab); // moves on from the message, as from every other box
        QVERIFY(f->txtEmail[6]->hasFocus());
        auto* password = static_cast<QLineEdit*>(f->txtEmail[2]);
        QCOMPARE(password->echoMode(), QLineEdit::Password);
        QCOMPARE(QChar(password->style()->styleHint(QStyle::SH_LineEdit_PasswordCharacter, nullptr, password)), '*');
        QTest::keyClick(f, Qt::Key_C, Qt::AltModifier);
        QTRY_VERIFY(f.isNull());
        QStringList salvati{"Percorsi/CartellaPDF=/srv/documenti pdf", "Percorsi/DataBase=/srv/marvena",
                            "Email/SMTP=smtp.esempio.it", "Email/UserID=ufficio",
                            "Email/Password=s3gr'eto", "Email/Indirizzo=ufficio@esempio.it",
                            "Email/Oggetto=Documenti  allegati",
                            "Email/Messaggio=Buongiorno,++in allegato i documenti.", "Email/Porta=25"};
        QCOMPARE(Salvati(), salvati);

        // Opened on that file, an empty port shows the usual one; "+" are line
        // breaks again. One folder chosen, the other picker cancelled; a
        // field cleared is saved empty, but an empty message keeps the old one.
        ScriviIni("Email", "Porta", "");
        f = Apri();
        QCOMPARE(Mostrati(*f), QStringList({"/srv/documenti pdf", "/srv/marvena", "smtp.esempio.it", "ufficio",
                                            "s3gr'eto", "ufficio@esempio.it", "Documenti  allegati",
                                            "Buongiorno,\n\nin allegato i documenti.", "25"}));
        ambiente.selettore.risposte.enqueue("/nuova/pdf");
        QTest::mouseClick(f->cmdPercorsoCartella, Qt::LeftButton);
        QTest::mouseClick(f->cmdPercorsoDatabase, Qt::LeftButton);
        QCOMPARE(ambiente.selettore.richieste,
                 QStringList({"Seleziona il percorso della cartella che contiene i documenti in formato PDF:",
                              "Seleziona il percorso della cartella dove è installato il programma 'Marvena':"}));
        MostraScheda(f, 1);
        Scrivi(f->txtEmail[5], "");
        Scrivi(f->txtEmail[1], "");
        QTest::mouseClick(f->cmdOK, Qt::LeftButton);
        QTRY_VERIFY(f.isNull());
        salvati[0] = "Percorsi/CartellaPDF=/nuova/pdf";
        salvati[3] = "Email/UserID=";
        QCOMPARE(Salvati(), salvati);

        const QByteArray prima = LeggiFile(PercorsoVelmiraIni());
        f = Apri();
        ChiudiDopoModifiche(f);
        QCOMPARE(LeggiFile(PercorsoVelmiraIni()), prima);
        QVERIFY(ambiente.dialoghi.messaggi.isEmpty());
    }
};

QTEST_MAIN(TestFrmImposta)
#include "tst_frmImposta.moc"
