#pragma once

#include <QPushButton>
#include <QTabWidget>
#include <QWidget>

namespace velarix::gui {

// The "Configuración" page: its seven sub-pages and "Valores por Defecto".
class ConfigurationPage : public QWidget {
    Q_OBJECT
public:
    explicit ConfigurationPage(QWidget* parent = nullptr);

    QTabWidget* SubPages() const { return subPages_; }
    QWidget* SubPage(const char* name) const;
    QPushButton* defaultsButton;  // "Valores por Defecto"

private:
    QTabWidget* subPages_;
};

}  // namespace velarix::gui
