// TLibMail: a non-visual component that opens a web page in the desktop's
// browser. HomePageAddress starts as "http://"; MailAddress is kept for forms
// that set it and used by nothing here. OpenHomePage asks the shell to open
// HomePageAddress and remembers whether the shell took it (Accepted).
#pragma once

#include <QObject>
#include <QString>

namespace kashidashi {

class TLibMail : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString MailAddress READ MailAddress WRITE SetMailAddress)
    Q_PROPERTY(QString HomePageAddress READ HomePageAddress WRITE SetHomePageAddress)
  public:
    explicit TLibMail(QObject* parent = nullptr);

    QString MailAddress() const { return mailAddress_; }
    void SetMailAddress(const QString& address) { mailAddress_ = address; }
    QString HomePageAddress() const { return homePageAddress_; }
    void SetHomePageAddress(const QString& address) { homePageAddress_ = address; }

    // True when the shell accepted the address.
    bool OpenHomePage();
    bool Accepted() const { return accepted_; }

  private:
    QString mailAddress_;
    QString homePageAddress_ = QStringLiteral("http://");
    bool accepted_ = false;
};

}  // namespace kashidashi
