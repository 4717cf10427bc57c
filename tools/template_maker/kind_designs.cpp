#include "tools/template_maker/kind_designs.h"

namespace template_maker {
namespace {

// Kinds 7 to 16 never move the name, sex and age labels; their templates put those blanks under
// the labels' places when the window opens.
constexpr QPoint kInitialName{324, 53};
constexpr QPoint kInitialSex{326, 75};
constexpr QPoint kInitialAge{326, 94};

OverlayPlaces moved_fields(QPoint name, int sex_top, int age_top, QPoint second_name, QPoint number, QPoint date)
{
    // The sex and age labels take the name label's left.
    return {name, {name.x(), sex_top}, {name.x(), age_top}, second_name, number, date};
}

OverlayPlaces kept_fields(QPoint second_name, QPoint number, QPoint date)
{
    return {kInitialName, kInitialSex, kInitialAge, second_name, number, date};
}

}  // namespace

const std::array<KindDesign, kKindCount>& kind_designs()
{
    using S = ChromaSampling;
    static const std::array<KindDesign, kKindCount> designs = {{
        {1, "光棍证", QColor(0x2c, 0x3e, 0x66), "中华光棍协会",
         "同志长期单身，意志坚定，经本会严格审核，光荣成为一名光棍，望再接再厉。", "有效期：至脱单之日止", S::Half,
         moved_fields({329, 53}, 73, 92, {372, 142}, {419, 281}, {381, 269})},
        {2, "聊天许可证", QColor(0x17, 0x80, 0x7a), "全国聊天管理委员会",
         "同志口才出众，妙语连珠，经考核准予在各大聊天室自由聊天，熬夜后果自负。", "有效期：终身", S::Half,
         moved_fields({324, 56}, 81, 104, {363, 141}, {419, 281}, {381, 269})},
        {3, "爱神证", QColor(0xc8, 0x32, 0x5f), "丘比特爱情事务总局",
         "同志心地善良，热心助人，被本局正式任命为爱神，负责撮合天下有情人。", "有效期：永久有效", S::Half,
         moved_fields({324, 58}, 82, 103, {365, 149}, {395, 285}, {394, 269})},
        {4,
         "超级美眉证",
         QColor(0xd2, 0x6a, 0xa8),
         "国际美眉鉴定中心",
         "貌美如花，气质出众，回头率高达百分之九十九，经鉴定为超级美眉。",
         "有效期：青春永驻",
         S::Full,
         {{324, 53}, {324, 74}, {324, 93}, {360, 141}, {417, 279}, {386, 266}}},
        {5, "初吻证", QColor(0xe0, 0x60, 0x4a), "初吻认证委员会",
         "的初吻至今完好无损，经本会专家严格鉴定属实，特发此证，以资证明。", "有效期：至初吻之日止", S::Half,
         moved_fields({324, 59}, 82, 102, {365, 148}, {394, 285}, {395, 268})},
        {6, "赌神证", QColor(0x1d, 0x6b, 0x35), "天下赌神联合总会",
         "同志牌技出神入化，人称赌神。本会友情提醒：小赌怡情，大赌伤身。", "有效期：终身", S::Half,
         moved_fields({324, 53}, 75, 94, {360, 142}, {408, 283}, {373, 271})},
        {7, "超级帅哥证", QColor(0x35, 0x66, 0xc8), "帅哥资格审查委员会",
         "同志相貌英俊，玉树临风，经评审为超级帅哥，出门请注意人身安全。", "有效期：终身", S::Full,
         kept_fields({360, 142}, {418, 280}, {382, 266})},
        {8, "处男证", QColor(0x4a, 0xa3, 0xd6), "纯情男生保护协会",
         "同志洁身自好，纯洁无瑕，经本会严格鉴定为纯情处男，特发此证。", "有效期：至结婚之日止", S::Full,
         kept_fields({369, 154}, {413, 265}, {380, 252})},
        {9, "色狼证", QColor(0x7d, 0x1d, 0x2a), "色狼监督管理局",
         "同志见到美女两眼放光，经群众举报核实，认定为色狼，请广大女性注意防范。", "有效期：至改邪归正之日止", S::Full,
         kept_fields({361, 141}, {417, 283}, {380, 269})},
        {10, "网恋许可证", QColor(0x6a, 0x45, 0xb0), "网恋许可审批办公室",
         "同志经审核准予在网上谈恋爱，见网友前请先索要照片，一切风险自担。", "有效期：一年", S::Full,
         kept_fields({361, 141}, {418, 281}, {380, 269})},
        {11, "良家妇女证", QColor(0xb8, 0x74, 0x2a), "妇女品德评议委员会",
         "品行端正，勤俭持家，孝敬父母，经评议认定为良家妇女，特发此证。", "有效期：终身", S::Full,
         kept_fields({359, 153}, {414, 283}, {380, 269})},
        {12, "灌水证", QColor(0x1f, 0xa8, 0xc2), "全国论坛灌水协会",
         "同志每日在论坛灌水不止，帖子数量惊人，特授予灌水大王称号。", "有效期：至论坛关闭之日止", S::Full,
         kept_fields({360, 142}, {410, 267}, {372, 253})},
        {13, "潜水证", QColor(0x0e, 0x4e, 0x5e), "深海潜水员俱乐部",
         "同志长期在论坛潜水，只看帖不回帖，潜水功力深厚，特发此证。", "有效期：永久有效", S::Full,
         kept_fields({360, 142}, {410, 283}, {372, 269})},
        {14, "忽悠证", QColor(0xc9, 0x9a, 0x1e), "中华忽悠学研究院",
         "同志能把死的说成活的，忽悠功夫炉火纯青，特授予忽悠大师称号。", "有效期：终身", S::Full,
         kept_fields({360, 142}, {410, 267}, {372, 253})},
        {15, "良好市民证", QColor(0xb2, 0x22, 0x22), "文明市民评选委员会",
         "同志遵纪守法，爱护公物，过马路走斑马线，经评选为良好市民。", "有效期：终身", S::Full,
         kept_fields({360, 142}, {410, 283}, {372, 269})},
        {16, "浆糊证", QColor(0x7e, 0x80, 0x4c), "全国浆糊研究会",
         "同志做事稀里糊涂，脑中常有浆糊，经本会鉴定为资深浆糊，特发此证。", "有效期：至头脑清醒之日止", S::Full,
         kept_fields({360, 142}, {410, 275}, {372, 261})},
    }};
    return designs;
}

OverlayPlaces initial_places()
{
    return {kInitialName, kInitialSex, kInitialAge, {377, 142}, {418, 281}, {380, 267}};
}

std::vector<OverlayPlaces> places_shown_over(const KindDesign& design)
{
    if (design.number == 1)
        return {design.places, initial_places()};
    return {design.places};
}

QRect template_rect(QPoint window_place, QSize size)
{
    return {window_place - kTemplateOriginInWindow, size};
}

}  // namespace template_maker
