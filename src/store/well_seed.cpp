// The content a new well database starts with: the catalogues (stratum
// names, lithology types, colours and oil-bearing grades, facies types,
// symbol sets) and the table definitions derived from the table registry.
// Colours are 0x00BBGGRR.
#include <cctype>
#include <string>
#include <string_view>

#include "davodu/host/util/util.h"
#include "davodu/store/detail/sql_db.h"
#include "davodu/store/detail/well_db.h"

namespace davodu {
namespace {

const char kSeedSql[] = R"sql(
INSERT INTO cat_stratum(row_no, level, name, alias, parent, color) VALUES
  (0, 1, '第四系', 'Q', '', 0x7FF9FF), (0, 1, '新近系', 'N', '', 0x19E6FF),
  (0, 1, '古近系', 'E', '', 0x529AFD), (0, 1, '白垩系', 'K', '', 0x4EC67F),
  (0, 1, '侏罗系', 'J', '', 0xC9B234),
  (0, 2, '平原组', 'Qp', '第四系', 0xA0FFFF), (0, 2, '明化镇组', 'Nm', '新近系', 0x00FFFF),
  (0, 2, '馆陶组', 'Ng', '新近系', 0x4DDCFF), (0, 2, '东营组', 'Ed', '古近系', 0x80B4FF),
  (0, 2, '沙河街组', 'Es', '古近系', 0x6090F0), (0, 2, '孔店组', 'Ek', '古近系', 0x4070D0),
  (0, 3, '东一段', 'Ed1', '东营组', 0xB0D0FF), (0, 3, '东二段', 'Ed2', '东营组', 0x90C0FF),
  (0, 3, '东三段', 'Ed3', '东营组', 0x70B0FF), (0, 3, '沙一段', 'Es1', '沙河街组', 0x90A8F8),
  (0, 3, '沙二段', 'Es2', '沙河街组', 0x7898F0), (0, 3, '沙三段', 'Es3', '沙河街组', 0x6080E8),
  (0, 3, '沙四段', 'Es4', '沙河街组', 0x4868E0);
INSERT INTO cat_lith(row_no, name, full_name, pattern, size, color) VALUES
  (0, '', '缺省岩性', 0, 30, 0xFFFFFF),
  (0, '砾岩', '砾岩', 1, 30, 0x5AB4E6), (0, '含砾砂岩', '含砾砂岩', 2, 30, 0x6EC8F0),
  (0, '粗砂岩', '粗砂岩', 3, 30, 0x78DCFF), (0, '中砂岩', '中砂岩', 4, 30, 0x8CE6FF),
  (0, '细砂岩', '细砂岩', 5, 30, 0xA0F0FF), (0, '砂岩', '砂岩', 6, 30, 0x96EBFF),
  (0, '粉砂岩', '粉砂岩', 7, 30, 0xB4F5FF), (0, '泥质粉砂岩', '泥质粉砂岩', 8, 30, 0xB4DCD2),
  (0, '粉砂质泥岩', '粉砂质泥岩', 9, 30, 0xA0C8B4), (0, '泥岩', '泥岩', 10, 30, 0x8CB48C),
  (0, '页岩', '页岩', 11, 30, 0x788C78), (0, '油页岩', '油页岩', 12, 30, 0x505A50),
  (0, '石灰岩', '石灰岩', 13, 30, 0xE6C8A0), (0, '白云岩', '白云岩', 14, 30, 0xF0D2C8),
  (0, '泥灰岩', '泥灰岩', 15, 30, 0xC8BEA0), (0, '煤', '煤', 16, 30, 0x282828),
  (0, '玄武岩', '玄武岩', 17, 30, 0x6E5A8C), (0, '花岗岩', '花岗岩', 18, 30, 0xA0A0DC);
INSERT INTO cat_lith_color(row_no, name, full_name, value) VALUES
  (0, '红', '红色', 0x0000FF), (0, '紫红', '紫红色', 0x5A0096), (0, '褐', '褐色', 0x13458B),
  (0, '棕', '棕色', 0x2A2AA5), (0, '黄', '黄色', 0x00FFFF), (0, '灰', '灰色', 0x808080),
  (0, '浅灰', '浅灰色', 0xC0C0C0), (0, '深灰', '深灰色', 0x505050), (0, '灰白', '灰白色', 0xDCDCDC),
  (0, '灰绿', '灰绿色', 0x70A080), (0, '绿', '绿色', 0x00A000), (0, '黑', '黑色', 0x000000),
  (0, '白', '白色', 0xFFFFFF);
INSERT INTO cat_oil_grade(row_no, name, full_name, symbol, color, size) VALUES
  (0, '饱含油', '饱含油', 1, 0x00285A, 1), (0, '富含油', '富含油', 2, 0x003C78, 1),
  (0, '油浸', '油浸', 3, 0x145096, 1), (0, '油斑', '油斑', 4, 0x2864B4, 1),
  (0, '油迹', '油迹', 5, 0x3C78C8, 1), (0, '荧光', '荧光', 6, 0x50A0DC, 1),
  (0, '不含油', '不含油', 7, 0xFFFFFF, 1);
INSERT INTO cat_facies(row_no, name, code, brush_style, color) VALUES
  (0, '河道', 'HD', 0, 0x00D7FF), (0, '河道间', 'HDJ', 0, 0x90EE90),
  (0, '天然堤', 'TRD', 0, 0x7FFFD4), (0, '决口扇', 'JKS', 0, 0x00A5FF),
  (0, '分流河道', 'FLHD', 0, 0x20C0FF), (0, '水下分流河道', 'SXFL', 0, 0x60D0FF),
  (0, '河口坝', 'HKB', 0, 0x3080FF), (0, '席状砂', 'XZS', 0, 0xA0E0FF),
  (0, '远砂坝', 'YSB', 0, 0x80C0E0), (0, '前缘泥', 'QYN', 0, 0x80A080),
  (0, '浅湖泥', 'QHN', 0, 0x609060), (0, '半深湖', 'BSH', 0, 0x406040);
INSERT INTO cat_symbol(row_no, symbol_set, name, code, style, color, size) VALUES
  (0, 1, '射孔', 1, 1321, 0x0000FF, 1), (0, 1, '补孔', 2, 1322, 0xFF0000, 1),
  (0, 1, '堵孔', 3, 1323, 0x000000, 1), (0, 1, '压裂', 4, 1324, 0x008000, 1),
  (0, 2, '正旋回', 1, 1301, 0x000000, 1), (0, 2, '反旋回', 2, 1302, 0x000000, 1),
  (0, 2, '复合旋回', 3, 1303, 0x000000, 1),
  (0, 3, '水平层理', 1, 1311, 0x000000, 1), (0, 3, '平行层理', 2, 1312, 0x000000, 1),
  (0, 3, '波状层理', 3, 1313, 0x000000, 1), (0, 3, '交错层理', 4, 1314, 0x000000, 1),
  (0, 3, '块状层理', 5, 1315, 0x000000, 1), (0, 3, '透镜状层理', 6, 1316, 0x000000, 1),
  (0, 4, '油层', 1, 1, 0x0000FF, 1), (0, 4, '差油层', 2, 2, 0x4080FF, 1),
  (0, 4, '油水同层', 3, 3, 0xFF00FF, 1), (0, 4, '含油水层', 4, 4, 0xFF8080, 1),
  (0, 4, '水层', 5, 5, 0xFF0000, 1), (0, 4, '干层', 6, 6, 0x808080, 1),
  (0, 4, '气层', 7, 7, 0x00FFFF, 1),
  (0, 5, '未水淹', 1, 1, 0xFFFFFF, 1), (0, 5, '弱水淹', 2, 2, 0xFFC0C0, 1),
  (0, 5, '中水淹', 3, 3, 0xFF8080, 1), (0, 5, '强水淹', 4, 4, 0xFF0000, 1);
)sql";

const TableKind kCatalogues[] = {TableKind::kCatStratum,  TableKind::kCatLith,
                                 TableKind::kCatLithColor, TableKind::kCatOilGrade,
                                 TableKind::kCatFacies,   TableKind::kCatTableDef};

// The seed with its hexadecimal colours written in decimal, for engines
// without hexadecimal literals (PostgreSQL before 16).
std::string DecimalLiterals(std::string_view sql) {
  std::string out;
  bool quoted = false;
  for (std::size_t i = 0; i < sql.size(); ++i) {
    const char c = sql[i];
    if (c == '\'') quoted = !quoted;
    if (!quoted && c == '0' && i + 1 < sql.size() && sql[i + 1] == 'x') {
      std::size_t end = i + 2;
      while (end < sql.size() && std::isxdigit(static_cast<unsigned char>(sql[end]))) ++end;
      out += std::to_string(std::stoll(std::string(sql.substr(i + 2, end - i - 2)), nullptr, 16));
      i = end - 1;
      continue;
    }
    out += c;
  }
  return out;
}

}  // namespace

void WellDb::Seed() {
  db_.Exec(db_.sqlite() ? std::string(kSeedSql) : DecimalLiterals(kSeedSql));
  // The table definitions: every column of every per-well table. Of the
  // oil tests only the identifying columns are listed: the result fields
  // are appended by the oil test data objects themselves.
  sql::Stmt def(db_,
                "INSERT INTO cat_table_def(row_no, table_name, column_name, second_name, type, "
                "listed) VALUES(0, ?1, ?2, ?3, ?4, ?5)");
  for (const TableLayout& layout : AllTableLayouts()) {
    if (layout.owner != TableOwner::kWell) continue;
    for (int sub = layout.sub_count > 0 ? 1 : 0; sub <= layout.sub_count; ++sub) {
      for (std::size_t i = 0; i < layout.columns.size(); ++i) {
        const ColumnDef& c = layout.columns[i];
        const int type = c.type == ColumnType::kReal || c.type == ColumnType::kInt ? 1
                         : c.type == ColumnType::kDate                             ? 3
                                                                                   : 2;
        const bool listed = layout.kind != TableKind::kTest || i < 4;
        def.Reset();
        def.Bind(1, TableName(layout.kind, sub)).Bind(2, c.name).Bind(3, c.sql).Bind(4, type);
        def.Bind(5, listed ? 1 : 0);
        def.Run();
      }
    }
  }
  for (TableKind kind : kCatalogues) {
    const std::string name = GetTableLayout(kind).sql;
    db_.Exec("UPDATE " + name + " SET row_no = id");
    StampTable({kind, 0, 0});
  }
  db_.Exec("UPDATE cat_symbol SET row_no = id");
  for (int set = 1; set <= 5; ++set) StampTable({TableKind::kCatSymbol, 0, set});
}

}  // namespace davodu
