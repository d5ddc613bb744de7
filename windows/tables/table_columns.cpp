#include "windows/tables/table_columns.h"

namespace {

struct ColumnDef {
  int id;
  const char* title;
  bool visible;
  uint32_t type;
  uint32_t width;
};

const ColumnDef kRiskColumns[] = {
    {0, "", true, kColumnInteger, 5},
    {1, "Фирма", true, kColumnText, 13},
    {2, "Код клиента", true, kColumnText, 13},
    {3, "Торговый счёт", true, kColumnText, 13},
    {4, "Лимит откр. поз. на начало дня", true, kColumnDouble, 10},
    {5, "Лимит откр. поз.", true, kColumnDouble, 10},
    {6, "Тек. чист. поз.", true, kColumnDouble, 10},
    {7, "Тек. чист. поз.(под открытые позиции)", true, kColumnDouble, 10},
    {8, "План. чист. поз.", true, kColumnDouble, 10},
    {9, "Реальная вариац. маржа", true, kColumnDouble, 10},
    {10, "Вариац. маржа", true, kColumnDouble, 10},
    {12, "Вариац. маржа. по итогам промклиринга", true, kColumnDouble, 10},
    {13, "Накопленный доход", true, kColumnDouble, 10},
    {14, "Ликвидационная стоимость опционов", true, kColumnDouble, 10},
    {15, "Сумма активов на срочном рынке", true, kColumnDouble, 10},
    {16, "Полная сумма активов", true, kColumnDouble, 10},
    {17, "Текущая задолженность", true, kColumnDouble, 10},
    {18, "Достаточность средств", true, kColumnDouble, 10},
    {19, "Достаточность средств(под открытые позиции)", true, kColumnDouble, 10},
    {20, "Коэфф. ликвидности ГО", true, kColumnDouble, 10},
    {21, "Ожидаемый коэфф. ликвидности ГО", true, kColumnDouble, 10},
    {22, "Единый уровень маржи", true, kColumnDouble, 10},
    {23, "Модиф. единый уровень маржи", true, kColumnDouble, 10},
    {24, "Cash leverage", true, kColumnDouble, 10},
};

const ColumnDef kOrdersColumns[] = {
    {0, "", true, kColumnInteger, 5},
    {1, "Номер", true, kColumnDouble, 10},
    {2, "Время", true, kColumnTimeOfDay, 10},
    {3, "Операция", true, kColumnText, 10},
    {4, "Комментарий", true, kColumnText, 10},
    {5, "Трейдер", false, kColumnText, 10},
    {6, "Дилер", false, kColumnText, 10},
    {7, "Счет", true, kColumnText, 10},
    {8, "Бумага", true, kColumnText, 10},
    {9, "Цена", true, kColumnDouble, 10},
    {10, "Количество", true, kColumnDouble, 10},
    {12, "Остаток", true, kColumnDouble, 10},
    {13, "Объем", true, kColumnDouble, 10},
    {14, "Исходный номер", false, kColumnDouble, 10},
    {15, "Купонный %", false, kColumnDouble, 10},
    {16, "Срок", false, kColumnText, 10},
    {17, "Доходность", false, kColumnDouble, 10},
    {18, "Состояние", true, kColumnText, 10},
    {19, "Тип", false, kColumnText, 10},
    {20, "Класс", false, kColumnText, 10},
    {21, "Код бумаги", false, kColumnText, 10},
    {22, "Код класса", false, kColumnText, 10},
    {24, "Код клиента", false, kColumnText, 10},
    {25, "ID транзакции", false, kColumnDouble, 10},
    {26, "Дата", false, kColumnDate, 10},
    {27, "Бумага сокр.", false, kColumnText, 10},
    {28, "Код расчетов", false, kColumnText, 10},
    {29, "Цена выкупа", false, kColumnDouble, 10},
    {30, "UID", false, kColumnDouble, 10},
    {31, "Снята (время)", false, kColumnTimeOfDay, 10},
    {32, "Валюта", false, kColumnText, 10},
    {33, "Код биржи", true, kColumnText, 10},
    {34, "Время активации ", false, kColumnTimeOfDay, 10},
    {35, "Заявка маркет-мейкера", false, kColumnText, 10},
};

template <size_t N>
void Fill(TableSchema& columns, const ColumnDef (&defs)[N]) {
  columns.clear();
  for (const ColumnDef& def : defs)
    columns[def.id] = TableColumnInfo(def.id, def.title, def.visible, def.type, def.width);
}

}  // namespace

void BuildRiskColumns(TableSchema& columns) { Fill(columns, kRiskColumns); }

void BuildOrdersColumns(TableSchema& columns) { Fill(columns, kOrdersColumns); }

bool BuildTableColumns(TTableColumnSchemas& schemas) {
  BuildRiskColumns(schemas.risk);
  BuildOrdersColumns(schemas.orders);
  return true;
}

std::string RiskColumnTitle(int id) {
  for (const ColumnDef& def : kRiskColumns)
    if (def.id == id) return def.title;
  return std::string();
}
