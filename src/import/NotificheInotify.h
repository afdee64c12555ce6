#pragma once

#include "import/NotificheCartella.h"

class QSocketNotifier;

// The Linux kernel's notifications (inotify) for one folder.
class NotificheInotify : public NotificheCartella
{
public:
    // Nothing when the kernel refuses a notification queue.
    static std::unique_ptr<NotificheInotify> Crea();
    ~NotificheInotify() override;

    bool Osserva(const QString& cartella) override;
    bool Attive() const override { return osservazione_ >= 0; }
    bool DiRete(const QString& cartella) const override;
    void Sospendi() override;

private:
    explicit NotificheInotify(int inotify);
    void Leggi();

    int inotify_;
    int osservazione_ = -1;
    QSocketNotifier* notifiche_;
};
