#pragma once

#include <QDialog>

// The program's name and how to reach its makers: home page and e-mail open in the browser
// and the mail program.
class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(QWidget* parent = nullptr);

    static constexpr auto HomePage = "https://www.jolvex.cn/";
    static constexpr auto EMail = "support@jolvex.cn";
    static constexpr auto QqNumber = "800017320";
};
