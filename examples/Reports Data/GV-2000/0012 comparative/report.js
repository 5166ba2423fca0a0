// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 12,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-04-15 15:24:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "2.19 ct", "1.88 ct"],
    ["Colour grade", "G", "F"],
    ["Clarity grade", "VVS1", "IF"],
    ["Table", "55 %", "58 %"],
    ["Total depth", "63.0 %", "61.5 %"]
  ]
};
