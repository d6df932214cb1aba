/* Prints an order list: each item of a tab-separated file (item, quantity, unit price) with
 * the quantity times the price, sorted by item, and the total.
 *
 *   order_report FILE
 */
#include <corvala/corvala_c.h>
#include <stdio.h>

enum { kOrders = 1, kLineBreak = 1, kTab = 2 };

int main(void) {
  const uint32_t quantityTimesPrice =
      CV_OPERAND_DESCRIPTOR(CV_NUMBER_INT32, CV_NUMBER_SET) |
      (CV_OPERAND_DESCRIPTOR(CV_NUMBER_DOUBLE, CV_NUMBER_MULTIPLY) << 6);
  const char* file;
  cv_RecallResult loaded;
  double total = 0;
  int32_t i;

  if (cv_CommandLineArg(1) == NULL) {
    fputs("usage: order_report FILE\n", stderr);
    return 2;
  }
  file = cv_KeepTempSlotCopy(); /* later results reuse the argument's slot */
  loaded = cv_Recall(file, kOrders, 0, CV_TAB_FIELDS, NULL);
  cv_SortArray(kOrders, 0);

  for (i = 0; i < loaded.lines; ++i) {
    int32_t quantity;
    double price = 0;
    /* Operand 2 first: the runtime takes the slots in reverse order. */
    cv_word operands[2];
    cv_text line[4];

    cv_ElementText(kOrders, CV_TWO_INDEX(i, 1));
    quantity = cv_TextToNumber(CV_CURRENT_SLOT, 0, CV_NUMBER_INT32).value;
    cv_ElementText(kOrders, CV_TWO_INDEX(i, 2));
    cv_TextToNumber(CV_CURRENT_SLOT, (cv_word)&price, CV_NUMBER_DOUBLE);
    total += quantity * price;

    cv_ElementText(kOrders, CV_TWO_INDEX(i, 0));
    operands[0] = (cv_word)&price;
    operands[1] = (cv_word)quantity;
    cv_NumberToText("%5f", quantityTimesPrice, 6, operands, 2);
    line[0] = CV_CURRENT_SLOT; /* the item, two slots back */
    line[1] = CV_TEXT_ID(kTab);
    line[2] = CV_CURRENT_SLOT; /* its amount, the newest slot */
    line[3] = CV_TEXT_ID(kLineBreak);
    cv_BuildText(4, line);
  }

  {
    const cv_word operand = (cv_word)&total;
    cv_text line[2];
    cv_NumberToText("total\t%5f", CV_OPERAND_DESCRIPTOR(CV_NUMBER_DOUBLE, CV_NUMBER_SET), 5,
                    &operand, 1);
    line[0] = CV_CURRENT_SLOT;
    line[1] = CV_TEXT_ID(kLineBreak);
    cv_BuildText(2, line);
  }

  cv_EraseArray(kOrders);
  cv_ReleaseTrackedBlock(CV_RELEASE_ALL_TRACKED);
  return 0;
}
