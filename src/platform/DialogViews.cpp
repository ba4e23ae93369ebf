#include "DialogViews.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

namespace {

std::string readableTypeName(const std::type_info& type)
{
    int status = 0;
    const std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(type.name(), nullptr, nullptr, &status),
                                                      std::free);
    return status == 0 && name ? std::string(name.get()) : std::string(type.name());
}

} // namespace

void DialogViews::insert(const std::type_info& type, View<DialogModel> view)
{
    if (!m_views.try_emplace(type, std::move(view)).second)
        throw std::logic_error("A second window is registered for the dialog model " + readableTypeName(type));
}

bool DialogViews::show(DialogModel& model, DialogHost& host) const
{
    const auto view = m_views.find(typeid(model));
    if (view == m_views.end())
        throw std::logic_error("No window is registered for the dialog model " + readableTypeName(typeid(model)));
    return view->second(model, host);
}
