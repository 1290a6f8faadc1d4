#include "ProfileParamNames.h"

const QMap<int, QString> profileParamNames = {
    {0, QStringLiteral("Ra")},        {1, QStringLiteral("Rmax")},     {2, QStringLiteral("Rp")},
    {3, QStringLiteral("Rv")},        {4, QStringLiteral("Rz")},       {5, QStringLiteral("R3z")},
    {6, QStringLiteral("Rc")},        {7, QStringLiteral("Rt")},       {8, QStringLiteral("Rq")},
    {9, QStringLiteral("Rsk")},       {10, QStringLiteral("Rku")},     {11, QStringLiteral("RSm")},
    {12, QStringLiteral("Rm")},       {13, QStringLiteral("RΔq(Δq)")}, {14, QStringLiteral("RΔa(Δa)")},
    {15, QStringLiteral("S")},        {16, QStringLiteral("D")},       {17, QStringLiteral("Dp")},
    {18, QStringLiteral("L0")},       {19, QStringLiteral("l0")},      {20, QStringLiteral("λq")},
    {21, QStringLiteral("λa")},       {22, QStringLiteral("ηp")},      {23, QStringLiteral("tp")},
    {24, QStringLiteral("Rk")},       {25, QStringLiteral("Rpk")},     {26, QStringLiteral("Rvk")},
    {27, QStringLiteral("Mr1(tp1)")}, {28, QStringLiteral("Mr2(tp2)")},
    {29, QStringLiteral("Wa")},       {30, QStringLiteral("Wmax")},    {31, QStringLiteral("Wp")},
    {32, QStringLiteral("Wv")},       {33, QStringLiteral("Wz")},      {34, QStringLiteral("Wc")},
    {35, QStringLiteral("Wt")},       {36, QStringLiteral("Wq")},      {37, QStringLiteral("Wsk")},
    {38, QStringLiteral("Wku")},      {39, QStringLiteral("WSm")},     {40, QStringLiteral("WΔq")},
    {41, QStringLiteral("WΔa")},
    {42, QStringLiteral("Pa")},       {43, QStringLiteral("Pmax")},    {44, QStringLiteral("Pp")},
    {45, QStringLiteral("Pv")},       {46, QStringLiteral("Pz")},      {47, QStringLiteral("Pc")},
    {48, QStringLiteral("Pt")},       {49, QStringLiteral("Pq")},      {50, QStringLiteral("Psk")},
    {51, QStringLiteral("Pku")},      {52, QStringLiteral("PSm")},     {53, QStringLiteral("PΔq")},
    {54, QStringLiteral("PΔa")},
};
