#pragma once
// Puts mail users and distribution lists into an address-book file through the MAPI layer, and reads them back,
// so that tests can prepare a folder before the program opens it and see what the program stored.
#include <memory>
#include <optional>
#include <string>
#include <vector>

class IABContainer;
class PabLogon;

class PabSeeder {
public:
    using EntryId = std::string; // the identifier's bytes

    struct StoredUser {
        std::string name;
        std::string number;
        std::optional<std::string> comment;
    };

    explicit PabSeeder(const std::string& file);
    ~PabSeeder();
    bool Ok() const { return m_pContainer != nullptr; }

    // Into the book itself when parent is empty, else into that distribution list.
    EntryId AddUser(const std::string& name, const std::string& number, const std::optional<std::string>& comment,
                    const EntryId& parent = {});
    EntryId AddList(const std::string& name, const EntryId& parent = {});
    std::vector<StoredUser> Users(const EntryId& parent = {});

private:
    IABContainer* Open(const EntryId& parent);
    EntryId Create(IABContainer* container, const EntryId& templateId, const std::vector<std::pair<unsigned, std::string>>& props);
    EntryId ListTemplate(IABContainer* container);

    std::unique_ptr<PabLogon> m_logon;
    IABContainer* m_pContainer = nullptr; // the book itself, owned by the logon
};
