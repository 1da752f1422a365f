#include "platform/linux/DirectSave.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <cstdlib>
#include <memory>

namespace {
// Replies and errors of xcb are malloc'ed.
struct FreeWithFree {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T> using Reply = std::unique_ptr<T, FreeWithFree>;

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, 0, static_cast<uint16_t>(qstrlen(name)), name),
        nullptr));
    return reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
}
} // namespace

bool offerDirectSavePath(xcb_connection_t* connection, const QString& path) {
    const xcb_atom_t selection = atom(connection, "XdndSelection");
    const xcb_atom_t property = atom(connection, "XdndDirectSave0");
    if (selection == XCB_ATOM_NONE || property == XCB_ATOM_NONE)
        return false;
    const Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE)
        return false;
    const Reply<xcb_get_property_reply_t> named(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, owner->owner, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 1024),
        nullptr));
    if (!named || named->type == XCB_ATOM_NONE || named->format != 8)
        return false;
    // A local file's address without a host name, as the protocol allows.
    const QByteArray address = QUrl::fromLocalFile(path).toEncoded();
    const Reply<xcb_generic_error_t> error(xcb_request_check(
        connection, xcb_change_property_checked(
                        connection, XCB_PROP_MODE_REPLACE, owner->owner, property, named->type, 8,
                        static_cast<uint32_t>(address.size()), address.constData())));
    return !error;
}
