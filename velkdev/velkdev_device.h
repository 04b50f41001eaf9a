// Placeholder until this call family is declared.
#pragma once
