// GLib's headers before Qt's: Qt's `signals` keyword would break gio's declarations.
#ifdef VELMORA_HAVE_LIBSECRET
#include <libsecret/secret.h>
#endif

#include "publish/Credentials.h"

namespace publish {

#ifdef VELMORA_HAVE_LIBSECRET

std::optional<Credentials> secretServiceCredentials(const QUrl& url)
{
    // Without a session bus GLib would try to start one.
    if (qEnvironmentVariableIsEmpty("DBUS_SESSION_BUS_ADDRESS"))
        return std::nullopt;
    static const SecretSchema schema = {"org.velmora.Calendar",
                                        SECRET_SCHEMA_DONT_MATCH_NAME,
                                        {{"server", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"protocol", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"user", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    QByteArray server = url.host().toUtf8();
    QByteArray protocol = url.scheme().toLower().toUtf8();
    QByteArray user = url.userName().toUtf8();
    GHashTable* attributes = g_hash_table_new(g_str_hash, g_str_equal);
    g_hash_table_insert(attributes, gpointer("server"), server.data());
    g_hash_table_insert(attributes, gpointer("protocol"), protocol.data());
    if (!user.isEmpty())
        g_hash_table_insert(attributes, gpointer("user"), user.data());
    GError* error = nullptr;
    GList* items =
        secret_password_searchv_sync(&schema, attributes, SECRET_SEARCH_NONE, nullptr, &error);
    g_hash_table_unref(attributes);
    std::optional<Credentials> found;
    if (items) {
        auto* item = static_cast<SecretRetrievable*>(items->data);
        GHashTable* itemAttributes = secret_retrievable_get_attributes(item);
        SecretValue* value = secret_retrievable_retrieve_secret_sync(item, nullptr, nullptr);
        if (value) {
            found = Credentials{QString::fromUtf8(static_cast<const char*>(
                                    g_hash_table_lookup(itemAttributes, "user"))),
                                QString::fromUtf8(secret_value_get_text(value))};
            secret_value_unref(value);
        }
        g_hash_table_unref(itemAttributes);
        g_list_free_full(items, g_object_unref);
    }
    // A service that is missing or refuses is no credentials; its message is not shown.
    g_clear_error(&error);
    return found;
}

#else

std::optional<Credentials> secretServiceCredentials(const QUrl&)
{
    return std::nullopt;
}

#endif

} // namespace publish
