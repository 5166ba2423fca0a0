// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 21,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-07-05 20:57:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.20 ct", "0.89 ct"],
    ["Colour grade", "F", "E"],
    ["Clarity grade", "VS2", "VS1"],
    ["Table", "58 %", "57 %"],
    ["Total depth", "63.5 %", "61.5 %"]
  ]
};
