#pragma once
// Products of a generated settings document, shared by the editor's benchmarks: twelve
// elements each, with values that differ from product to product.
#include <QString>

namespace generated_settings {

inline constexpr int ElementsPerProduct = 12;

inline QString productXml(int n)
{
    return QStringLiteral(
               "<Product><ProductName>Product %1</ProductName><NDCProductCode>12345-%1</NDCProductCode>"
               "<DosageFormCode>C42998</DosageFormCode><RouteCode>C38288</RouteCode>"
               "<Ingredient><IngredientName>INGREDIENT %1</IngredientName><IngredientUNIICode>R16CO5Y76E</IngredientUNIICode>"
               "<StrengthNumerator>%1</StrengthNumerator></Ingredient>"
               "<Package><NDCPackageCode>12345-%1-01</NDCPackageCode><PackageQuantity>100</PackageQuantity></Package>"
               "</Product>")
        .arg(n);
}

} // namespace generated_settings
