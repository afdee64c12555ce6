#include "app/DialoghiQt.h"

#include <QApplication>
#include <QMessageBox>
#include <QAbstractButton>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {

// Runs `azione` on the modal dialog as soon as it is up.
void QuandoAperto(std::function<void(QWidget*)> azione)
{
    QTimer::singleShot(0, qApp, [azione] {
        QTRY_VERIFY(QApplication::activeModalWidget());
        azione(QApplication::activeModalWidget());
    });
}

} // namespace

class TestDialoghiQt : public QObject
{
    Q_OBJECT

private slots:
    void messaggio_data();
    void messaggio();
};

void TestDialoghiQt::messaggio_data()
{
    QTest::addColumn<Icona>("icona");
    QTest::addColumn<Pulsanti>("pulsanti");
    QTest::addColumn<int>("premuto");
    QTest::addColumn<QMessageBox::Icon>("iconaQt");
    QTest::addColumn<Risposta>("risposta");

    QTest::newRow("critica, ok") << Icona::Critica << Pulsanti::Ok << int(QMessageBox::Ok)
                                 << QMessageBox::Critical << Risposta::Ok;
    QTest::newRow("esclamazione") << Icona::Esclamazione << Pulsanti::Ok << int(QMessageBox::Ok)
                                  << QMessageBox::Warning << Risposta::Ok;
    QTest::newRow("informazione") << Icona::Informazione << Pulsanti::Ok << int(QMessageBox::Ok)
                                  << QMessageBox::Information << Risposta::Ok;
    QTest::newRow("nessuna") << Icona::Nessuna << Pulsanti::Ok << int(QMessageBox::Ok)
                             << QMessageBox::NoIcon << Risposta::Ok;
    QTest::newRow("domanda, sì") << Icona::Domanda << Pulsanti::SiNo << int(QMessageBox::Yes)
                                 << QMessageBox::Question << Risposta::Si;
    QTest::newRow("domanda, no") << Icona::Domanda << Pulsanti::SiNo << int(QMessageBox::No)
                                 << QMessageBox::Question << Risposta::No;
}

void TestDialoghiQt::messaggio()
{
    QFETCH(Icona, icona);
    QFETCH(Pulsanti, pulsanti);
    QFETCH(int, premuto);
    QFETCH(QMessageBox::Icon, iconaQt);
    QFETCH(Risposta, risposta);

    QString testo, titolo;
    QMessageBox::Icon iconaVista = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> mostrati;
    QuandoAperto([&](QWidget* finestra) {
        auto* box = qobject_cast<QMessageBox*>(finestra);
        QVERIFY(box);
        testo = box->text();
        titolo = box->windowTitle();
        iconaVista = box->icon();
        for (QAbstractButton* pulsante : box->buttons())
            mostrati << box->standardButton(pulsante);
        box->button(QMessageBox::StandardButton(premuto))->click();
    });

    DialoghiQt dialoghi;
    QCOMPARE(dialoghi.Messaggio(QStringLiteral("Cartella inesistente"), icona,
                                QStringLiteral("ClientVelmira"), pulsanti),
             risposta);
    QCOMPARE(testo, QStringLiteral("Cartella inesistente"));
    QCOMPARE(titolo, QStringLiteral("ClientVelmira"));
    QCOMPARE(iconaVista, iconaQt);
    std::sort(mostrati.begin(), mostrati.end());
    QList<QMessageBox::StandardButton> attesi{QMessageBox::Ok};
    if (pulsanti == Pulsanti::SiNo)
        attesi = {QMessageBox::Yes, QMessageBox::No};
    QCOMPARE(mostrati, attesi);
}

QTEST_MAIN(TestDialoghiQt)
#include "TestDialoghiQt.moc"
