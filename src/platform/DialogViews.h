#pragma once

#include "platform/Prompter.h"

#include <functional>
#include <typeindex>
#include <unordered_map>

class QDialog;
class QWidget;

// What a dialog view may use of the prompter that shows it.
class DialogHost
{
public:
    // The owner of a dialog opened now: the main window, or the dialog open at the moment.
    virtual QWidget* dialogOwner() const = 0;
    // The parent of a window kept for the whole run.
    virtual QWidget* mainWindow() const = 0;
    // Runs a dialog made for this one use: fitted on its screen, and owner of the prompts raised while it is
    // open. True when it was confirmed and the program is not ending.
    virtual bool execOwned(QDialog& dialog) = 0;
    // Runs a dialog modal as it is; counted and tracked, so a termination signal cancels it.
    virtual int execTracked(QDialog& dialog) = 0;
    virtual bool ending() const = 0;

protected:
    ~DialogHost() = default;
};

// The window shown for each dialog model, picked by the model's type. Each window folder adds its own views
// once at start-up, so a new dialog touches only its own folder.
class DialogViews
{
public:
    template <typename Model> using View = std::function<bool(Model&, DialogHost&)>;

    // A second view for one model type is a programming error: std::logic_error naming the type, and the
    // first view stays.
    template <typename Model> void add(View<Model> view)
    {
        insert(typeid(Model), [view = std::move(view)](DialogModel& model, DialogHost& host) {
            return view(static_cast<Model&>(model), host);
        });
    }

    // The usual view: a window made for the model over the current owner, run once.
    template <typename Window, typename Model> void addWindow()
    {
        add<Model>([](Model& model, DialogHost& host) {
            Window window(model, host.dialogOwner());
            return host.execOwned(window);
        });
    }

    // True when the dialog was confirmed. A model without a view is a programming error: std::logic_error
    // naming its type, never a silent Cancel.
    bool show(DialogModel& model, DialogHost& host) const;

private:
    void insert(const std::type_info& type, View<DialogModel> view);

    std::unordered_map<std::type_index, View<DialogModel>> m_views;
};
