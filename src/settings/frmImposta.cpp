#include "settings/frmImposta.h"

#include "components/Finestre.h"
#include "settings/Impostazioni.h"
#include "shell/SelezionaCartella.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString percorsi = QStringLiteral("Percorsi");
const QString email = QStringLiteral("Email");
const QString predefinitaPorta = QStringLiteral("25");

QLineEdit* Casella(const QString& nome, QWidget* genitore)
{
    auto* casella = new QLineEdit(genitore);
    casella->setObjectName(nome);
    return casella;
}

QPushButton* Pulsante(const QString& nome, const QString& testo, QStyle::StandardPixmap icona, QWidget* genitore)
{
    auto* pulsante = new QPushButton(genitore->style()->standardIcon(icona), testo, genitore);
    pulsante->setObjectName(nome);
    return pulsante;
}

// A label in the first column of `griglia`, named after the field it is for.
void Riga(QGridLayout* griglia, int riga, const QString& etichetta, QWidget* campo)
{
    auto* testo = new QLabel(etichetta, campo->parentWidget());
    testo->setBuddy(campo);
    griglia->addWidget(testo, riga, 0, Qt::AlignRight | (qobject_cast<QPlainTextEdit*>(campo) ? Qt::AlignTop
                                                                                             : Qt::AlignVCenter));
    griglia->addWidget(campo, riga, 1);
}

} // namespace

const std::array<QString, 7> frmImposta::chiaviEmail = {
    QStringLiteral("SMTP"),    QStringLiteral("UserID"),    QStringLiteral("Password"), QStringLiteral("Indirizzo"),
    QStringLiteral("Oggetto"), QStringLiteral("Messaggio"), QStringLiteral("Porta")};

frmImposta::frmImposta(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frmImposta"));
    setWindowTitle(QStringLiteral("Imposta cartella documenti..."));

    ssTabMail = new QTabWidget(this);
    ssTabMail->setObjectName(QStringLiteral("ssTabMail"));

    auto* cartelle = new QWidget(ssTabMail);
    fraImposta = new QGroupBox(QStringLiteral("Cartella documenti PDF su server"), cartelle);
    fraImposta->setObjectName(QStringLiteral("fraImposta"));
    auto* grigliaCartelle = new QGridLayout(fraImposta);
    txtPercorsoCartella = Casella(QStringLiteral("txtPercorsoCartella"), fraImposta);
    txtPercorsoCartella->setMinimumWidth(320);
    cmdPercorsoCartella = Pulsante(QStringLiteral("cmdPercorsoCartella"), QStringLiteral("S&foglia"),
                                   QStyle::SP_DirOpenIcon, fraImposta);
    txtDatabase = Casella(QStringLiteral("txtDatabase"), fraImposta);
    cmdPercorsoDatabase = Pulsante(QStringLiteral("cmdPercorsoDatabase"), QStringLiteral("Sf&oglia"),
                                   QStyle::SP_DirOpenIcon, fraImposta);
    Riga(grigliaCartelle, 0, QStringLiteral("Percorso Cartella documenti :"), txtPercorsoCartella);
    grigliaCartelle->addWidget(cmdPercorsoCartella, 0, 2);
    Riga(grigliaCartelle, 1, QStringLiteral("Percorso Cartella Database :"), txtDatabase);
    grigliaCartelle->addWidget(cmdPercorsoDatabase, 1, 2);
    grigliaCartelle->setColumnStretch(1, 1);
    auto* layoutCartelle = new QVBoxLayout(cartelle);
    layoutCartelle->addWidget(fraImposta);
    layoutCartelle->addStretch();
    ssTabMail->addTab(cartelle, QStringLiteral("Cartelle documenti"));

    auto* posta = new QWidget(ssTabMail);
    Frame15 = new QGroupBox(QStringLiteral("Impostazioni Email"), posta);
    Frame15->setObjectName(QStringLiteral("Frame15"));
    auto* grigliaPosta = new QGridLayout(Frame15);
    const QString etichette[7] = {QStringLiteral("Server di posta SMTP :"), QStringLiteral("User Id :"),
                                  QStringLiteral("Password :"),             QStringLiteral("Indirizzo Email Mittente :"),
                                  QStringLiteral("Oggetto Email :"),        QStringLiteral("Messaggio :"),
                                  QStringLiteral("Porta :")};
    const QString suggerimenti[7] = {QStringLiteral("Inserire l'SMTP dell'email"), QStringLiteral("user id email"),
                                     QStringLiteral("Password email"), QStringLiteral("indirizzo email mittente")};
    for (int i = 0; i < 7; ++i) {
        if (i == 5) {
            auto* messaggio = new QPlainTextEdit(Frame15);
            messaggio->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
            // Tab moves on to the next field, as in every other box of the form.
            messaggio->setTabChangesFocus(true);
            txtEmail[i] = messaggio;
        } else {
            txtEmail[i] = new QLineEdit(Frame15);
        }
        txtEmail[i]->setObjectName(QStringLiteral("txtEmail_%1").arg(i));
        txtEmail[i]->setToolTip(suggerimenti[i]);
        Riga(grigliaPosta, i, etichette[i], txtEmail[i]);
    }
    auto* password = static_cast<QLineEdit*>(txtEmail[2]);
    password->setEchoMode(QLineEdit::Password);
    password->setStyleSheet(QStringLiteral("lineedit-password-character: 42")); // '*'
    auto* porta = static_cast<QLineEdit*>(txtEmail[6]);
    porta->setText(predefinitaPorta);
    porta->setMaximumWidth(porta->fontMetrics().horizontalAdvance(QStringLiteral("000000000")) + 12);
    grigliaPosta->setColumnStretch(1, 1);
    auto* layoutPosta = new QVBoxLayout(posta);
    layoutPosta->addWidget(Frame15);
    ssTabMail->addTab(posta, QStringLiteral("Impostazione email"));

    cmdOK = Pulsante(QStringLiteral("cmdOK"), QStringLiteral("&Conferma"), QStyle::SP_DialogApplyButton, this);
    cmdAnnulla = Pulsante(QStringLiteral("cmdAnnulla"), QStringLiteral("C&hiudi"), QStyle::SP_DialogCloseButton, this);
    auto* pulsanti = new QHBoxLayout;
    pulsanti->addStretch();
    pulsanti->addWidget(cmdOK);
    pulsanti->addWidget(cmdAnnulla);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ssTabMail);
    layout->addLayout(pulsanti);

    connect(cmdPercorsoCartella, &QPushButton::clicked, this,
            [this] { SfogliaCartella(this, txtPercorsoCartella, RichiestaCartellaPdf); });
    connect(cmdPercorsoDatabase, &QPushButton::clicked, this,
            [this] { SfogliaCartella(this, txtDatabase, RichiestaCartellaDatabase); });
    connect(cmdOK, &QPushButton::clicked, this, &frmImposta::cmdOK_Click);
    connect(cmdAnnulla, &QPushButton::clicked, this, [this] { ScaricaFinestra(this); });

    Form_Load();
}

QPlainTextEdit* frmImposta::Messaggio() const
{
    return static_cast<QPlainTextEdit*>(txtEmail[5]);
}

QString frmImposta::TestoEmail(int indice) const
{
    return indice == 5 ? Messaggio()->toPlainText() : static_cast<QLineEdit*>(txtEmail[indice])->text();
}

void frmImposta::ImpostaEmail(int indice, const QString& testo)
{
    if (indice == 5) {
        QString righe = testo;
        Messaggio()->setPlainText(righe.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    } else {
        static_cast<QLineEdit*>(txtEmail[indice])->setText(testo);
    }
}

void frmImposta::Form_Load()
{
    SpostaInAltoASinistra(this);
    ssTabMail->setCurrentIndex(0);
    if (!EsisteVelmiraIni())
        return;
    txtPercorsoCartella->setText(LeggiIni(percorsi, QStringLiteral("CartellaPDF")));
    txtDatabase->setText(LeggiIni(percorsi, QStringLiteral("DataBase")));
    for (int i = 0; i < 7; ++i) {
        QString valore;
        if (i == 5)
            LeggiScriviMessaggio(valore, true);
        else
            valore = LeggiIni(email, chiaviEmail[i]);
        ImpostaEmail(i, valore);
    }
    if (TestoEmail(6).isEmpty())
        ImpostaEmail(6, predefinitaPorta);
}

void frmImposta::cmdOK_Click()
{
    ScriviIni(percorsi, QStringLiteral("CartellaPDF"), txtPercorsoCartella->text());
    ScriviIni(percorsi, QStringLiteral("DataBase"), txtDatabase->text());
    for (int i = 0; i < 7; ++i) {
        if (i == 5) {
            QString messaggio = TestoEmail(5);
            LeggiScriviMessaggio(messaggio, false);
        } else {
            ScriviIni(email, chiaviEmail[i], TestoEmail(i));
        }
    }
    ScaricaFinestra(this);
}
