#include "explorer1.h"

CExplorer1::CExplorer1(QWidget* parent) : QWebEngineView(parent) {}

QWebEngineView* CExplorer1::createWindow(QWebEnginePage::WebWindowType)
{
    return this;
}

QWidget* ParlendoCreateExplorer(QWidget* parent)
{
    return new CExplorer1(parent);
}
