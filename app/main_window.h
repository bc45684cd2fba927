#pragma once

#include "language/snippet_tables.h"

#include <QMainWindow>
#include <QPointer>

class QAction;
class QGroupBox;
class QLabel;
class QListWidget;
class QMdiArea;
class QTabWidget;
class QToolBar;
class TForm2;

// The main window: a multiple-document frame with the menu, the toolbar and the five palettes.
class TOrl : public QMainWindow {
    Q_OBJECT
public:
    explicit TOrl(QWidget *parent = nullptr);
    ~TOrl() override;

    QMdiArea *clientArea() const { return m_mdiArea; }

    // Open editor windows, the one being created included.
    int MDIChildCount() const;
    TForm2 *ActiveMDIChild() const;
    QList<TForm2 *> editorWindows() const;

    // The first two steps of every command that acts on an editor: false when none is open,
    // otherwise the current editor Form2 is set to the active one.
    bool applyActiveEditorRule();

    // "Сохранить" for one window; false when the user cancelled the dialog. Throws on a failed write.
    bool saveEditor(TForm2 *window);

    // Menu items, toolbar buttons and palettes, under the names of the window layout.
    QAction *N1, *N2, *N3, *N4, *N6, *N7, *N9;
    QAction *N10, *N11, *N12, *N13, *N15, *N16, *N41;
    QAction *N19, *N20, *N21, *N23, *N31;
    QAction *N24, *N25, *N26, *N27, *N28, *N29;
    QAction *N42, *N43, *N44;
    QAction *N37, *N39;
    QToolBar *ToolBar1;
    QAction *ToolButton1, *ToolButton2, *ToolButton3, *ToolButton5, *ToolButton6, *ToolButton15;
    QAction *ToolButton11, *ToolButton12, *ToolButton7, *ToolButton16;
    QTabWidget *PageControl1;
    QListWidget *OnPanel, *Indent, *Simbol, *Comands, *Dialog2;
    QWidget *Panel1;
    QGroupBox *GroupBox1, *GroupBox2, *GroupBox3;
    QLabel *Image1;

    // File commands.
    void N2Click();
    void N3Click();
    void N4Click();
    void N6Click();
    void N7Click();
    void N9Click();
    // Editing and formatting commands.
    void N11Click();
    void N12Click();
    void N13Click();
    void N15Click();
    void N16Click();
    void N41Click();
    void N43Click();
    void N44Click();
    // Windows of the "Создать" and "Инфо." menus.
    void N20Click();
    void N21Click();
    void N23Click();
    void N31Click();
    void N39Click();
    // Window arrangement.
    void N25Click();
    void N26Click();
    void N28Click();
    void N29Click();
    // Palettes.
    void FormCreate();
    void OnPanelClick();
    void IndentClick();
    void SimbolClick();
    void ComandsClick();
    void Dialog2Click();

    // The program-wide last-saved file name and the window whose text was saved under it.
    QString lastSavedFileName() const { return m_lastSavedFileName; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createMenus();
    void createToolBar();
    void createPalettes();
    QAction *addMenuItem(QMenu *menu, const QString &caption, void (TOrl::*handler)(),
                         const QKeySequence &shortcut = {}, int icon = -1);
    QAction *addToolButton(const QString &hint, int icon, QAction *item);
    TForm2 *createEditor();
    void writeEditor(TForm2 *window, const QString &fileName);
    void connectPalette(QListWidget *palette, void (TOrl::*handler)());
    // A palette click: the active-editor rule, then the selected row's snippet appended as a line.
    void appendSelectedSnippet(const QListWidget *palette, SnippetTable table);

    QMdiArea *m_mdiArea = nullptr;
    QString m_lastSavedFileName;
    QPointer<TForm2> m_lastSavedWindow;
    int m_openFilterIndex = 0;
    int m_saveFilterIndex = 0;
};

extern QPointer<TOrl> Orl;
