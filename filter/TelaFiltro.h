#pragma once

#include <QString>

#include <functional>

class QWidget;

// What the filter dialog needs of the screen it is opened over, handed to it
// by that screen: the dialog never reaches into the screen itself.
struct TelaFiltro {
    QWidget *pai = nullptr;           // the dialog is shown over it
    std::function<QString()> filial;  // the branch code on the screen
    std::function<void()> listar;     // lists the quotes with the new filter
};
