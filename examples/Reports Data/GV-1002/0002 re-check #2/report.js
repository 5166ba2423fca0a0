// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-1002",
  reportNumber: 2,
  reportType: "RT_COMPARATIVE",
  dateTime: "2026-03-18 16:45:09",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "2.23 ct", "1.92 ct"],
    ["Colour grade", "H", "G"],
    ["Clarity grade", "VS1", "VVS2"],
    ["Table", "57 %", "59 %"],
    ["Total depth", "63.0 %", "62.5 %"]
  ],
  notes: "Requires viewer 2.1; shown by the newest installed viewer."
};
