#include "tools/suits/suit_table_format.h"

#include "tools/cli/json_writer.h"
#include "tools/cli/network_address.h"
#include "tools/cli/printable_text.h"

#include <arpa/inet.h>
#include <array>
#include <cstdio>
#include <cstring>

namespace {
constexpr int ColumnCount = 5;
using Row = std::array<std::string, ColumnCount>;

std::string RateText(float rate)
{
    char text[32];
    std::snprintf(text, sizeof text, "%g", double(rate));
    return text;
}

// Columns are as wide as they look: a multi-byte character takes one place.
std::size_t DisplayWidth(const std::string& text)
{
    std::size_t width = 0;
    for (char byte : text)
        if ((uint8_t(byte) & 0xc0) != 0x80)
            width++;
    return width;
}
} // namespace

std::string FormatSuitTable(const std::vector<SuitInfo>& suits)
{
    std::vector<Row> rows{{"Index", "Address", "Name", "Rate", "Position sensor"}};
    for (std::size_t index = 0; index < suits.size(); index++) {
        const SuitInfo& suit = suits[index];
        rows.push_back({std::to_string(index), SuitAddress(suit), PrintableSuitName(suit),
                        RateText(suit.frameRate),
                        (suit.flags & SUIT_HAS_POSITION_SENSOR) ? "yes" : "no"});
    }
    std::array<std::size_t, ColumnCount> widths{};
    for (const Row& row : rows)
        for (int column = 0; column < ColumnCount; column++)
            widths[column] = std::max(widths[column], DisplayWidth(row[column]));

    std::string table;
    for (const Row& row : rows) {
        for (int column = 0; column < ColumnCount; column++) {
            table += row[column];
            if (column + 1 < ColumnCount)
                table += std::string(widths[column] - DisplayWidth(row[column]) + 2, ' ');
        }
        table += '\n';
    }
    return table;
}

std::string FormatSuitJson(const std::vector<SuitInfo>& suits)
{
    JsonWriter json;
    json.BeginArray();
    for (std::size_t index = 0; index < suits.size(); index++) {
        const SuitInfo& suit = suits[index];
        char address[INET_ADDRSTRLEN] = "?";
        in_addr ipv4{};
        ipv4.s_addr = suit.address;
        inet_ntop(AF_INET, &ipv4, address, sizeof address);
        json.BeginObject()
            .Key("index")
            .Integer(int64_t(index))
            .Key("address")
            .String(address)
            .Key("port")
            .Integer(ntohs(suit.port))
            .Key("name")
            .String(std::string_view(suit.name, strnlen(suit.name, sizeof suit.name)))
            .Key("rate")
            .Number(suit.frameRate)
            .Key("positionSensor")
            .Bool(suit.flags & SUIT_HAS_POSITION_SENSOR)
            .EndObject();
    }
    json.EndArray();
    return json.Text() + "\n";
}
