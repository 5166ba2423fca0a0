// Sample report data: the viewer page loads this file and reads window.reportData.
window.reportData = {
  stoneId: "GV-2000",
  reportNumber: 15,
  reportType: "RT_COMPARATIVE",
  dateTime: "2025-05-12 17:15:00",
  laboratory: "Gem laboratory, sample data",
  columns: ["Property", "Before", "After"],
  rows: [
    ["Carat weight", "1.86 ct", "1.55 ct"],
    ["Colour grade", "E", "D"],
    ["Clarity grade", "VS2", "VS1"],
    ["Table", "58 %", "56 %"],
    ["Total depth", "64.5 %", "61.5 %"]
  ]
};
